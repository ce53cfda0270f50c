#pragma once
// Shared pieces of the progress window tests.
#include <QString>
#include <functional>
#include <memory>
#include <set>
#include <string>
#include <utility>
#include <vector>

#include "engine/controller.h"
#include "platform/ui/taskbar.h"
#include "progress/conv_prog.h"

// A task of the given length in seconds of 44.1 kHz stereo audio.
CConversionTask MakeTask(const std::string& source, const std::string& dest, double seconds = 1);

// Stand-ins for the decoder and encoder threads, for runs whose timing a test
// must control: an encoder thread that reports progress in steps, idles while
// paused, stops with the run flag and sends its final report synchronously.
struct FakeStages {
  int steps = 10;
  int stepMs = 5;
  std::set<std::string> failing;          // sources that cannot be opened
  std::function<void()> beforeFinalSend;  // on the encoder thread
  DecodeEntry Entry() const;
};

// The log as (text, severity) pairs, in order.
std::vector<std::pair<std::string, int>> LogLines(const CConvProg& dlg);
QString Text(const CConvProg& dlg, int id);
bool Enabled(const CConvProg& dlg, int id);
void Click(CConvProg& dlg, int id);
bool HasStatusLine(const CConvProg& dlg);
// Every thread of the run has ended.
bool ThreadsEnded(const CConvProg& dlg);

// A taskbar entry that records its state; no desktop needed.
class TestTaskbar {
 public:
  TestTaskbar();
  ~TestTaskbar();
  int State() const { return m_taskbar->State(); }
  double Progress() const { return m_taskbar->Progress(); }

 private:
  std::unique_ptr<platform::TaskbarProgress> m_taskbar;
};
