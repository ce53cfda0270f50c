#pragma once
// The user's folders, after the XDG base-directory and user-dirs conventions.
// Each returns a path without a trailing '/', or "" when it cannot be found.
#include <string>

namespace platform {

std::string HomeDir();
std::string ConfigHome();    // $XDG_CONFIG_HOME, default ~/.config
std::string MusicDir();      // XDG_MUSIC_DIR, when configured and present
std::string DesktopDir();    // XDG_DESKTOP_DIR, when configured and present
std::string DocumentsDir();  // XDG_DOCUMENTS_DIR, when configured and present

}  // namespace platform
