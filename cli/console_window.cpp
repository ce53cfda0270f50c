#include "cli/console_window.h"

#include <sys/ioctl.h>
#include <unistd.h>

#include <algorithm>
#include <ctime>

#include "engine/run_format.h"
#include "engine/run_messages.h"
#include "platform/core/text.h"
#include "platform/core/ticks.h"

ConsoleWindow::ConsoleWindow(bool quiet, bool progressLine)
    : m_quiet(quiet), m_progressLine(progressLine) {
  SetPayloadReleaser(ReleaseRunMessage);
}

ConsoleWindow::~ConsoleWindow() {
  for (const auto& m : m_posted) ReleaseRunMessage(m.msg, m.wParam, m.lParam);
}

void ConsoleWindow::QueuePosted(unsigned msg, platform::WPARAM wParam, platform::LPARAM lParam) {
  std::lock_guard lock(m_mutex);
  m_posted.push_back({msg, wParam, lParam});
}

platform::LRESULT ConsoleWindow::HandleMessage(unsigned msg, platform::WPARAM wParam,
                                               platform::LPARAM lParam) {
  Handle({msg, wParam, lParam});
  return 0;
}

void ConsoleWindow::DoSetDlgItemText(int id, const std::string& text) {
  if (id == 1092) {
    auto slash = text.find_last_of('/');
    m_source = slash == std::string::npos ? text : text.substr(slash + 1);
  }
}

void ConsoleWindow::Drain() {
  for (;;) {
    Posted m;
    {
      std::lock_guard lock(m_mutex);
      if (m_posted.empty()) return;
      m = m_posted.front();
      m_posted.pop_front();
    }
    Handle(m);
  }
}

void ConsoleWindow::Handle(const Posted& m) {
  switch (m.msg) {
    case WM_CONV_LOG:
      PrintLine(TakeConvLog(m.wParam), static_cast<int>(m.lParam));
      break;
    case WM_CONV_PROGRESS: {
      auto [task, run] = TakeConvProgress(m.wParam, m.lParam);
      m_taskPercent = task;
      m_runPercent = run;
      break;
    }
    case WM_CONV_FINISHED:
      m_finished = true;
      break;
    default:
      ReleaseRunMessage(m.msg, m.wParam, m.lParam);
  }
}

void ConsoleWindow::PrintLine(const std::string& text, int severity) {
  // Numbered like the progress window, so logs read the same everywhere.
  std::string line = FormatLogNumber(NextLogLineNumber()) + FormatLogTime(std::time(nullptr)) + " " + text;
  if (m_quiet && severity < LOG_ERROR) return;
  Note(line, severity >= LOG_ERROR);
}

void ConsoleWindow::Note(const std::string& line, bool error) {
  ClearProgress();
  std::FILE* out = error ? stderr : stdout;
  std::fprintf(out, "%s\n", line.c_str());
  std::fflush(out);
  RedrawProgress();
}

void ConsoleWindow::ClearProgress() {
  if (!m_lineShown) return;
  std::fputs("\r\033[K", stdout);
  std::fflush(stdout);
  m_lineShown = false;
}

void ConsoleWindow::RedrawProgress() {
  if (!m_progressLine || !m_run || m_caption.empty() || !m_run->m_bRunning) return;
  float taskSeconds = static_cast<float>(platform::GetTickCount() - m_run->m_dwTaskStartTick) / 1000.0f;
  float runSeconds = static_cast<float>(platform::GetTickCount() - m_run->m_dwRunStartTick) / 1000.0f;
  std::string speed = FormatSpeed(Speed(m_run->m_fSecondsDoneTask, taskSeconds));
  std::string line = platform::StrPrintf(
      "%s %s %s %s  ETA %s", m_caption.c_str(), m_source.c_str(), FormatPercent(std::min(m_taskPercent, 100.0f)).c_str(),
      speed.c_str(), FormatHms(RemainingSeconds(m_runPercent, runSeconds)).c_str());
  winsize ws{};
  std::size_t width = ioctl(STDOUT_FILENO, TIOCGWINSZ, &ws) == 0 && ws.ws_col > 1 ? ws.ws_col - 1 : 79;
  // Cut to the terminal so the line never wraps and \r keeps redrawing it in place.
  line = platform::Utf8Left(line, width);
  std::fprintf(stdout, "\r\033[K%s", line.c_str());
  std::fflush(stdout);
  m_lineShown = true;
}
