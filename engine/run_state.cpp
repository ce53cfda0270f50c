#include "engine/run_state.h"

#include "engine/run_messages.h"

std::atomic<CRunState*> g_pConvProg{nullptr};

void CRunState::Log(int severity, const std::string& line) { PostConvLog(m_pWnd, line, severity); }

void CRunState::ResetCounters() {
  m_nSamplesDoneAll = 0;
  m_nSamplesDoneTask = 0;
  m_fSecondsDoneAll = 0;
  m_fSecondsDoneTask = 0;
  m_bRunning = 0;
  m_bPaused = 0;
  m_nCurrentTask = 0;
  m_dwRunStartTick = 0;
  m_dwTaskStartTick = 0;
}

void CRunState::WaitForThreads(unsigned sliceMs, const std::function<void()>& betweenSlices) {
  // The controller first: once it has ended, no new stage thread can appear.
  for (auto* slot : {&m_pControllerThread, &m_pConverterThread, &m_pEncoderThread}) {
    auto thread = slot->Get();
    while (thread && !thread->Wait(sliceMs))
      if (betweenSlices) betweenSlices();
  }
}

void ConvLog(int severity, const std::string& line) {
  if (CRunState* run = g_pConvProg.load()) run->Log(severity, line);
}
