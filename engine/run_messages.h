#pragma once
// The messages by which the conversion threads report to the progress window.
// Payloads are heap objects that pass to the receiver at the moment they are
// posted; the receiver frees them, also when it ignores the message.
#include <string>
#include <utility>

#include "platform/core/message_target.h"
#include "platform/core/recording_target.h"

inline constexpr unsigned WM_CONV_PROGRESS = platform::WM_USER + 100;  // task %, run %
inline constexpr unsigned WM_CONV_LOG = platform::WM_USER + 101;       // line, severity
inline constexpr unsigned WM_CONV_FINISHED = platform::WM_USER + 105;

enum LogSeverity { LOG_INFO = 0, LOG_WARNING = 1, LOG_ERROR = 2 };

void PostConvLog(platform::MessageTarget* window, const std::string& line, int severity);
void PostConvProgress(platform::MessageTarget* window, float taskPercent, float runPercent);
// The synchronous form, for a task's final report.
void SendConvProgress(platform::MessageTarget* window, float taskPercent, float runPercent);

// Receiver side: take ownership of a payload and free it.
std::string TakeConvLog(platform::WPARAM wParam);
std::pair<float, float> TakeConvProgress(platform::WPARAM wParam, platform::LPARAM lParam);

// Frees the payload of a run message that was dropped unhandled.
void ReleaseRunMessage(unsigned msg, platform::WPARAM wParam, platform::LPARAM lParam);
// Decoder for a recording target: log text into text, severity and percentages
// into values.
void DecodeRunMessage(platform::RecordedMessage& message);
