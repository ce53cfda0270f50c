#pragma once
// The state one conversion run shares between its threads: the task list,
// the run and pause flags, the progress counters and the stage threads. The
// progress window derives from it; the command line uses it directly.
#include <atomic>
#include <cstdint>
#include <functional>
#include <string>

#include "engine/conversion_task.h"
#include "platform/core/message_target.h"
#include "platform/core/worker_thread.h"

class CRunState {
 public:
  explicit CRunState(platform::MessageTarget* window = nullptr) : m_pWnd(window) {}
  virtual ~CRunState() = default;
  CRunState(const CRunState&) = delete;
  CRunState& operator=(const CRunState&) = delete;

  // Posts one line to the run's log window.
  void Log(int severity, const std::string& line);
  // Zeroes the counters and flags before a run; the total stays.
  void ResetCounters();
  // Waits until the controller and every stage thread of the run have ended,
  // serving what they send to the calling thread meanwhile. With a slice, the
  // wait is cut into slices of that many milliseconds and betweenSlices runs
  // after each (a window paints, a terminal prints).
  void WaitForThreads(unsigned sliceMs = platform::INFINITE,
                      const std::function<void()>& betweenSlices = {});

  platform::MessageTarget* m_pWnd;  // receives the run's messages and texts
  // How long the controller waits for a stage thread before it stops the run.
  unsigned m_nStageWaitMs = 10000;
  // The controller's pause before the first task, which lets a window show
  // itself first; a front end without a window has no use for it.
  unsigned m_nStartDelayMs = 500;

  TaskList m_tasks;
  std::atomic<std::uint64_t> m_nSamplesTotalAll{0};
  std::atomic<std::uint64_t> m_nSamplesDoneAll{0};
  std::atomic<std::uint64_t> m_nSamplesDoneTask{0};
  std::atomic<float> m_fSecondsDoneAll{0};
  std::atomic<float> m_fSecondsDoneTask{0};
  std::atomic<int> m_bRunning{0};
  std::atomic<int> m_bPaused{0};
  std::atomic<int> m_nCurrentTask{0};
  std::atomic<std::uint32_t> m_dwRunStartTick{0};
  std::atomic<std::uint32_t> m_dwTaskStartTick{0};
  platform::ThreadSlot m_pControllerThread;
  platform::ThreadSlot m_pEncoderThread;
  platform::ThreadSlot m_pConverterThread;
};

// The run in progress; the stage threads reach the run state through it.
extern std::atomic<CRunState*> g_pConvProg;

// Posts a log line to the current run, if there is one.
void ConvLog(int severity, const std::string& line);
