#include "engine/destination.h"

#include <climits>
#include <vector>

#include "platform/core/file_system.h"
#include "platform/core/text.h"

using platform::FsError;

bool CreateFolderTree(const std::string& path) {
  if (path.empty() || path.size() >= PATH_MAX) return false;
  std::vector<char> buffer(path.begin(), path.end());
  buffer.push_back('\0');
  const std::size_t end = path.size();
  std::size_t p = end;
  bool descending = false;  // once going back down, the walk never climbs again
  for (;;) {
    FsError err = platform::CreateDirectory(buffer.data());
    if (err == FsError::PathNotFound && !descending) {
      // Climb to the parent: cut the buffer at the previous separator.
      while (p > 0 && buffer[p - 1] != '/') --p;
      if (p == 0) return false;
      --p;
      if (p == 0) return false;  // the parent is the root itself
      buffer[p] = '\0';
      continue;
    }
    if (err != FsError::Ok && err != FsError::AlreadyExists) return false;
    if (err == FsError::AlreadyExists && !platform::IsDirectory(buffer.data())) return false;
    if (p == end) return true;
    // Go one level deeper: restore the separator and move to the next cut.
    descending = true;
    buffer[p] = '/';
    while (p < end && buffer[p] != '\0') ++p;
  }
}

std::string MakeUniqueFileName(const std::string& path) {
  // Split at the last dot of the file name, not of the folders above it.
  auto slash = path.find_last_of('/');
  auto dot = path.find_last_of('.');
  if (dot == std::string::npos || (slash != std::string::npos && dot < slash)) dot = path.size();
  std::string base = path.substr(0, dot);
  std::string extension = path.substr(dot);
  for (unsigned n = 2;; ++n) {
    std::string candidate = platform::StrPrintf("%s (%u)%s", base.c_str(), n, extension.c_str());
    if (!platform::PathFileExists(candidate)) return candidate;
  }
}
