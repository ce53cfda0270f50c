#pragma once
#include <cstdint>

namespace platform {

// Milliseconds of a steady clock, wrapping at 2^32 like the Windows tick count:
// differences taken in unsigned 32-bit arithmetic stay right across a wrap.
std::uint32_t GetTickCount();
void Sleep(unsigned ms);

}  // namespace platform
