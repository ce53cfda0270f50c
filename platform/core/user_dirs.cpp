#include "platform/core/user_dirs.h"

#include <pwd.h>
#include <unistd.h>

#include <cstdlib>
#include <fstream>

#include "platform/core/file_system.h"
#include "platform/core/text.h"

namespace platform {

namespace {

std::string StripSlash(std::string path) {
  while (path.size() > 1 && path.back() == '/') path.pop_back();
  return path;
}

// Reads NAME="value" from user-dirs.dirs, with $HOME expanded. Configured
// folders that do not exist count as missing, as the shell's own lookup does.
std::string UserDir(const std::string& name) {
  std::ifstream in(ConfigHome() + "/user-dirs.dirs");
  std::string line;
  while (std::getline(in, line)) {
    std::string_view l = Trim(line);
    if (l.empty() || l[0] == '#') continue;
    auto eq = l.find('=');
    if (eq == std::string_view::npos || Trim(l.substr(0, eq)) != name) continue;
    std::string value(Trim(l.substr(eq + 1)));
    if (value.size() >= 2 && value.front() == '"' && value.back() == '"')
      value = value.substr(1, value.size() - 2);
    if (value.rfind("$HOME", 0) == 0)
      value = HomeDir() + value.substr(5);
    else if (value.empty() || value[0] != '/')
      return {};
    value = StripSlash(value);
    // XDG says a folder equal to $HOME means "not set".
    if (value == StripSlash(HomeDir()) || !IsDirectory(value)) return {};
    return value;
  }
  return {};
}

}  // namespace

std::string HomeDir() {
  if (const char* home = std::getenv("HOME"); home && *home) return StripSlash(home);
  if (const passwd* pw = ::getpwuid(::getuid()); pw && pw->pw_dir) return StripSlash(pw->pw_dir);
  return "/";
}

std::string ConfigHome() {
  if (const char* dir = std::getenv("XDG_CONFIG_HOME"); dir && dir[0] == '/')
    return StripSlash(dir);
  return HomeDir() + "/.config";
}

std::string MusicDir() { return UserDir("XDG_MUSIC_DIR"); }
std::string DesktopDir() { return UserDir("XDG_DESKTOP_DIR"); }
std::string DocumentsDir() { return UserDir("XDG_DOCUMENTS_DIR"); }

}  // namespace platform
