#pragma once
// How a run's figures and log lines read, wherever they are shown (the
// progress window, the command line).
#include <cstdint>
#include <ctime>
#include <string>

// Numbers log lines for the whole process: 1, 2, 3, ... across runs.
int NextLogLineNumber();
// "%03d " of the line number.
std::string FormatLogNumber(int number);
// "%02d:%02d:%02d" of the local time (each part -1 when it cannot be converted).
std::string FormatLogTime(std::time_t when);
// "hh:mm:ss" of whole seconds; hours may take more than two digits.
std::string FormatHms(float seconds);
// "%5.2lf%%" of the percent, clamped to at most 100.
std::string FormatPercent(float percent);
// " %5.2fx": seconds of audio per second of wall time.
std::string FormatSpeed(float audioSeconds, float wallSeconds);
// Time left when percent of the work took elapsed seconds.
float RemainingSeconds(float percent, float elapsed);
