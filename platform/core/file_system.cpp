#include "platform/core/file_system.h"

#include <fcntl.h>
#include <linux/stat.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <climits>
#include <cstdio>

namespace platform {

namespace {
FsError FromErrno(int err) {
  switch (err) {
    case 0: return FsError::Ok;
    case ENOENT:
    case ENOTDIR: return FsError::PathNotFound;
    case EEXIST: return FsError::AlreadyExists;
    case EACCES:
    case EPERM:
    case EROFS: return FsError::AccessDenied;
    default: return FsError::Other;
  }
}
}  // namespace

bool PathFileExists(const std::string& path) {
  struct stat st;
  return !path.empty() && ::stat(path.c_str(), &st) == 0;
}

bool IsDirectory(const std::string& path) {
  struct stat st;
  return ::stat(path.c_str(), &st) == 0 && S_ISDIR(st.st_mode);
}

FsError CreateDirectory(const std::string& path) {
  if (::mkdir(path.c_str(), 0777) == 0) return FsError::Ok;
  return FromErrno(errno);
}

FsError MoveFile(const std::string& from, const std::string& to) {
  if (::renameat2(AT_FDCWD, from.c_str(), AT_FDCWD, to.c_str(), RENAME_NOREPLACE) == 0)
    return FsError::Ok;
  if (errno != EINVAL && errno != ENOSYS) return FromErrno(errno);
  // File systems without RENAME_NOREPLACE: check, then rename.
  if (PathFileExists(to)) return FsError::AlreadyExists;
  return ::rename(from.c_str(), to.c_str()) == 0 ? FsError::Ok : FromErrno(errno);
}

FsError DeleteFile(const std::string& path) {
  return ::unlink(path.c_str()) == 0 ? FsError::Ok : FromErrno(errno);
}

FileAttributes GetFileAttributes(const std::string& path) {
  FileAttributes a;
  struct statx sx;
  if (::statx(AT_FDCWD, path.c_str(), 0, STATX_BASIC_STATS, &sx) != 0) return a;
  a.exists = true;
  a.directory = S_ISDIR(sx.stx_mode);
  auto slash = path.find_last_of('/', path.size() > 1 && path.back() == '/' ? path.size() - 2
                                                                           : std::string::npos);
  std::string name = slash == std::string::npos ? path : path.substr(slash + 1);
  a.hidden = !name.empty() && name[0] == '.' && name != "./" && name != "../";
  a.readOnly = ::access(path.c_str(), W_OK) != 0;
  a.compressed = (sx.stx_attributes & STATX_ATTR_COMPRESSED) != 0;
  a.encrypted = (sx.stx_attributes & STATX_ATTR_ENCRYPTED) != 0;
  a.size = sx.stx_size;
  a.modifiedUnix = sx.stx_mtime.tv_sec;
  return a;
}

std::string FolderOf(const std::string& path) {
  auto slash = path.find_last_of('/');
  return slash == std::string::npos ? std::string() : path.substr(0, slash);
}

std::string ExecutableFolder() {
  char buf[PATH_MAX];
  ssize_t n = ::readlink("/proc/self/exe", buf, sizeof buf - 1);
  if (n <= 0) return "./";
  buf[n] = 0;
  return FolderOf(buf) + "/";
}

}  // namespace platform
