#include "progress/progress_format.h"

#include "platform/core/text.h"

using platform::StrPrintf;

std::string FormatPercent(double percent) { return StrPrintf("%5.2lf%%", percent); }

std::string FormatSpeed(double speed) { return StrPrintf(" %5.2fx", speed); }

std::string FormatHms(double seconds) {
  const long long s = static_cast<long long>(seconds);
  return StrPrintf("%02lld:%02lld:%02lld", s / 3600, (s % 3600) / 60, s % 60);
}

std::string FormatLogNumber(int number) { return StrPrintf("%03d ", number); }

std::string FormatLogTime(int hour, int minute, int second) {
  return StrPrintf("%02d:%02d:%02d", hour, minute, second);
}
