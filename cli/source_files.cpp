#include "cli/source_files.h"

#include <algorithm>
#include <filesystem>
#include <set>
#include <system_error>

namespace fs = std::filesystem;

namespace {

bool IsMp4Name(const fs::path& path) {
  std::string ext = path.extension().string();
  std::transform(ext.begin(), ext.end(), ext.begin(), [](unsigned char c) { return std::tolower(c); });
  return ext == ".mp4" || ext == ".m4a";
}

void ScanFolder(const fs::path& folder, bool recursive, std::vector<std::string>& out,
                std::vector<std::string>& problems) {
  std::vector<fs::path> files, folders;
  std::error_code ec;
  for (fs::directory_iterator it(folder, ec), end; !ec && it != end; it.increment(ec)) {
    std::error_code typeError;
    if (it->is_directory(typeError)) {
      if (recursive) folders.push_back(it->path());
    } else if (IsMp4Name(it->path()) && it->is_regular_file(typeError)) {
      files.push_back(it->path());
    }
  }
  if (ec) problems.push_back("cannot read folder " + folder.string() + ": " + ec.message());
  std::sort(files.begin(), files.end());
  std::sort(folders.begin(), folders.end());
  for (const auto& f : files) out.push_back(f.string());
  for (const auto& d : folders) ScanFolder(d, recursive, out, problems);
}

}  // namespace

SourceList CollectSourceFiles(const std::vector<std::string>& paths, bool recursive) {
  SourceList list;
  std::vector<std::string> found;
  for (const auto& p : paths) {
    std::error_code ec;
    fs::path path = fs::absolute(p, ec).lexically_normal();
    auto status = fs::status(path, ec);
    if (ec || !fs::exists(status)) {
      list.problems.push_back("cannot access " + p + ": no such file or folder");
    } else if (fs::is_directory(status)) {
      ScanFolder(path, recursive, found, list.problems);
    } else {
      found.push_back(path.string());
    }
  }
  std::set<std::string> seen;
  for (auto& f : found)
    if (seen.insert(f).second) list.files.push_back(std::move(f));
  return list;
}
