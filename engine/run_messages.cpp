#include "engine/run_messages.h"

#include <memory>

using platform::LPARAM;
using platform::WPARAM;

void PostConvLog(platform::MessageTarget* window, const std::string& line, int severity) {
  if (!window) return;
  window->PostMessage(WM_CONV_LOG, reinterpret_cast<WPARAM>(new std::string(line)), severity);
}

void PostConvProgress(platform::MessageTarget* window, float taskPercent, float runPercent) {
  if (!window) return;
  window->PostMessage(WM_CONV_PROGRESS, reinterpret_cast<WPARAM>(new float(taskPercent)),
                      reinterpret_cast<LPARAM>(new float(runPercent)));
}

void SendConvProgress(platform::MessageTarget* window, float taskPercent, float runPercent) {
  if (!window) return;
  window->SendMessage(WM_CONV_PROGRESS, reinterpret_cast<WPARAM>(new float(taskPercent)),
                      reinterpret_cast<LPARAM>(new float(runPercent)));
}

std::string TakeConvLog(WPARAM wParam) {
  std::unique_ptr<std::string> line(reinterpret_cast<std::string*>(wParam));
  return line ? *line : std::string();
}

std::pair<float, float> TakeConvProgress(WPARAM wParam, LPARAM lParam) {
  std::unique_ptr<float> task(reinterpret_cast<float*>(wParam));
  std::unique_ptr<float> run(reinterpret_cast<float*>(lParam));
  return {task ? *task : 0.0f, run ? *run : 0.0f};
}

void ReleaseRunMessage(unsigned msg, WPARAM wParam, LPARAM lParam) {
  if (msg == WM_CONV_LOG)
    TakeConvLog(wParam);
  else if (msg == WM_CONV_PROGRESS)
    TakeConvProgress(wParam, lParam);
}

void DecodeRunMessage(platform::RecordedMessage& message) {
  if (message.msg == WM_CONV_LOG) {
    message.text = TakeConvLog(message.wParam);
    message.values = {static_cast<double>(message.lParam)};
    message.wParam = 0;
  } else if (message.msg == WM_CONV_PROGRESS) {
    auto [task, run] = TakeConvProgress(message.wParam, message.lParam);
    message.values = {task, run};
    message.wParam = 0;
    message.lParam = 0;
  }
}
