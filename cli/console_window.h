#pragma once
// The run's window on a terminal: numbered log lines on standard output
// (errors on standard error) and, on a terminal, one progress line redrawn
// in place.
#include <cstdio>
#include <deque>
#include <mutex>
#include <string>

#include "engine/run_state.h"
#include "platform/core/message_target.h"

class ConsoleWindow : public platform::MessageTarget {
 public:
  ConsoleWindow(bool quiet, bool progressLine);
  ~ConsoleWindow() override;

  void Attach(CRunState* run) { m_run = run; }
  // Prints what the run posted since the last call (on the owner thread).
  void Drain();
  void RedrawProgress();
  void ClearProgress();
  bool Finished() const { return m_finished; }
  // Prints a line of the front end's own (no number), keeping the progress line intact.
  void Note(const std::string& line, bool error);

 protected:
  void QueuePosted(unsigned msg, platform::WPARAM wParam, platform::LPARAM lParam) override;
  platform::LRESULT HandleMessage(unsigned msg, platform::WPARAM wParam,
                                  platform::LPARAM lParam) override;
  void DoSetWindowText(const std::string& text) override { m_caption = text; }
  void DoSetDlgItemText(int id, const std::string& text) override;
  void DoSetTimer(unsigned, unsigned) override {}
  void DoKillTimer(unsigned) override {}

 private:
  struct Posted {
    unsigned msg;
    platform::WPARAM wParam;
    platform::LPARAM lParam;
  };
  void Handle(const Posted& m);
  void PrintLine(const std::string& text, int severity);

  const bool m_quiet;
  const bool m_progressLine;
  CRunState* m_run = nullptr;
  std::mutex m_mutex;
  std::deque<Posted> m_posted;
  bool m_finished = false;
  bool m_lineShown = false;
  float m_taskPercent = 0;
  float m_runPercent = 0;
  std::string m_caption;
  std::string m_source;
};
