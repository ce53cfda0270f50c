#pragma once
// The window-message vocabulary shared by the engine and the windows.
#include <cstdint>

namespace platform {

using WPARAM = std::uintptr_t;
using LPARAM = std::intptr_t;
using LRESULT = std::intptr_t;

inline constexpr unsigned WM_USER = 0x0400;
inline constexpr unsigned INFINITE = 0xFFFFFFFFu;

// Frees the heap payload of a message that reached no handler, so a message
// dropped with its window does not leak what its sender gave up.
using PayloadReleaser = void (*)(unsigned msg, WPARAM wParam, LPARAM lParam);

}  // namespace platform
