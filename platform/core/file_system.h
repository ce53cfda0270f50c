#pragma once
// File-system calls with the error semantics the callers were designed for.
#include <cstdint>
#include <string>

namespace platform {

enum class FsError {
  Ok,
  PathNotFound,   // a parent folder is missing
  AlreadyExists,  // the name is taken
  AccessDenied,
  Other,
};

bool PathFileExists(const std::string& path);
bool IsDirectory(const std::string& path);
// Creates one folder; its parent must exist.
FsError CreateDirectory(const std::string& path);
// Renames; refuses to replace an existing target (AlreadyExists).
FsError MoveFile(const std::string& from, const std::string& to);
FsError DeleteFile(const std::string& path);

struct FileAttributes {
  bool exists = false;
  bool directory = false;
  bool hidden = false;      // name starts with '.'
  bool readOnly = false;    // not writable by us
  bool compressed = false;
  bool encrypted = false;
  std::uint64_t size = 0;
  std::int64_t modifiedUnix = 0;  // seconds since 1970
};
FileAttributes GetFileAttributes(const std::string& path);

// The folder part of path: everything before its last '/' ("" when there is none).
std::string FolderOf(const std::string& path);
// The folder holding the running executable, ending with '/'.
std::string ExecutableFolder();

}  // namespace platform
