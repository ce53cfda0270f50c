#include "platform/core/message_box.h"

#include <cstdio>
#include <mutex>

namespace platform {

namespace {
std::mutex g_hookMutex;
MessageBoxHook g_hook;
}  // namespace

void SetMessageBoxHook(MessageBoxHook hook) {
  std::lock_guard lock(g_hookMutex);
  g_hook = std::move(hook);
}

int MessageBox(const std::string& text, unsigned flags) {
  MessageBoxHook hook;
  {
    std::lock_guard lock(g_hookMutex);
    hook = g_hook;
  }
  if (hook) return hook(text, flags);
  std::fprintf(stderr, "%s\n", text.c_str());
  return (flags & 0xF) == MB_YESNO || (flags & 0xF) == MB_YESNOCANCEL ? IDNO : IDOK;
}

}  // namespace platform
