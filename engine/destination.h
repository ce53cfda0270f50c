#pragma once
// Where a task's MP3 file goes: its folder is created on demand and an
// existing file is never overwritten.
#include <string>

// Creates a folder and every missing parent; true when it exists afterwards.
bool CreateFolderTree(const std::string& path);
// A path naming no existing file, formed as "base (n).ext" with n = 2, 3, ...
std::string MakeUniqueFileName(const std::string& path);
