#pragma once
// How a run's figures and log lines read, wherever they are shown (the
// progress window, the command line).
#include <ctime>
#include <string>

// Numbers log lines for the whole process: 1, 2, 3, ... across runs.
int NextLogLineNumber();
// "%03d " of the line number.
std::string FormatLogNumber(int number);
// "%02d:%02d:%02d" of the local time (each part -1 when it cannot be had).
std::string FormatLogTime(std::time_t when);
std::string FormatLogTime(int hour, int minute, int second);
// "hh:mm:ss" of whole seconds; hours may take more than two digits.
std::string FormatHms(double seconds);
// "%5.2lf%%": five characters wide before the sign.
std::string FormatPercent(double percent);
// " %5.2fx" of seconds of audio per second of wall time.
std::string FormatSpeed(double speed);
// Seconds of audio per second of wall time; a zero interval reads as no speed.
double Speed(double audioSeconds, double wallSeconds);
// Time left when percent of the work took elapsed seconds (0 before any progress).
double RemainingSeconds(double percent, double elapsed);
