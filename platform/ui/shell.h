#pragma once
// Opening files, folders and addresses with the desktop's default application.
#include <QString>
#include <functional>

namespace platform {

// Results in the old shell's numbering, which the callers' error texts use:
// above 32 is success.
enum : int {
  SE_ERR_FNF = 2,        // the file was not found
  SE_ERR_PNF = 3,        // a folder on the way was not found
  SE_ERR_NOASSOC = 31,   // no application opens it
  SE_OK = 42,
};

// target is a local path or an address with a scheme (https:, mailto:, ...).
int ShellOpen(const QString& target);

// Tests take the desktop's place: while set, ShellOpen returns the hook's result.
using ShellOpenHook = std::function<int(const QString& target)>;
void SetShellOpenHook(ShellOpenHook hook);

}  // namespace platform
