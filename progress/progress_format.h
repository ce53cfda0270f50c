#pragma once
// The texts of the progress window's values.
#include <string>

// " 0.00%", "42.50%", "100.00%": five characters wide before the sign.
std::string FormatPercent(double percent);
// " %5.2fx" of seconds of audio per second.
std::string FormatSpeed(double speed);
// hh:mm:ss of whole seconds; hours go beyond two digits when they must.
std::string FormatHms(double seconds);
// "%03d " of a log line number.
std::string FormatLogNumber(int number);
// hh:mm:ss of the local time; a part that cannot be had shows -1.
std::string FormatLogTime(int hour, int minute, int second);
