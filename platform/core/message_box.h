#pragma once
// Message boxes from code that has no window of its own (the encoder thread).
// The UI installs a hook that shows a real box on its thread; without one the
// text goes to standard error.
#include <functional>
#include <string>

namespace platform {

enum : unsigned {
  MB_OK = 0x0,
  MB_OKCANCEL = 0x1,
  MB_YESNOCANCEL = 0x3,
  MB_YESNO = 0x4,
  MB_ICONERROR = 0x10,
  MB_ICONQUESTION = 0x20,
  MB_ICONWARNING = 0x30,
  MB_ICONINFORMATION = 0x40,
};
enum : int { IDOK = 1, IDCANCEL = 2, IDYES = 6, IDNO = 7 };

using MessageBoxHook = std::function<int(const std::string& text, unsigned flags)>;

void SetMessageBoxHook(MessageBoxHook hook);
int MessageBox(const std::string& text, unsigned flags = MB_OK);

}  // namespace platform
