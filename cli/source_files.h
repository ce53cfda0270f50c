#pragma once
// Turns the PATH arguments into the list of source files to convert.
#include <string>
#include <vector>

struct SourceList {
  std::vector<std::string> files;     // absolute paths, in a stable order
  std::vector<std::string> problems;  // one line per PATH that could not be read
};

// Files are taken as given; folders contribute their .mp4 and .m4a files
// (any case), and with recursive those of every subfolder. A file reached
// twice is listed once.
SourceList CollectSourceFiles(const std::vector<std::string>& paths, bool recursive);
