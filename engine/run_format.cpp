#include "engine/run_format.h"

#include <atomic>

#include "platform/core/text.h"

using platform::StrPrintf;

int NextLogLineNumber() {
  static std::atomic<int> number{0};
  return ++number;
}

std::string FormatLogNumber(int number) { return StrPrintf("%03d ", number); }

std::string FormatLogTime(int hour, int minute, int second) {
  return StrPrintf("%02d:%02d:%02d", hour, minute, second);
}

std::string FormatLogTime(std::time_t when) {
  std::tm local{};
  if (!localtime_r(&when, &local)) return FormatLogTime(-1, -1, -1);
  return FormatLogTime(local.tm_hour, local.tm_min, local.tm_sec);
}

std::string FormatHms(double seconds) {
  long long s = seconds > 0 ? static_cast<long long>(seconds) : 0;
  return StrPrintf("%02lld:%02lld:%02lld", s / 3600, (s % 3600) / 60, s % 60);
}

std::string FormatPercent(double percent) { return StrPrintf("%5.2lf%%", percent); }

std::string FormatSpeed(double speed) { return StrPrintf(" %5.2fx", speed); }

double Speed(double audioSeconds, double wallSeconds) {
  return wallSeconds > 0 ? audioSeconds / wallSeconds : 0;
}

double RemainingSeconds(double percent, double elapsed) {
  if (percent <= 0) return 0;
  if (percent > 100) percent = 100;
  return (100 - percent) * elapsed / percent;
}
