#include "engine/controller.h"

#include <string>

#include "engine/destination.h"
#include "engine/ring_buffer.h"
#include "engine/run_format.h"
#include "engine/run_messages.h"
#include "platform/core/file_system.h"
#include "platform/core/text.h"
#include "platform/core/ticks.h"

using platform::GetTickCount;
using platform::StrPrintf;

namespace {

const std::string kSeparator(99, '-');

// Waits for a stage thread. A thread is never killed: one that overstays its
// time is told to stop through the run flag, and then waited for until it has.
void WaitForStage(CRunState* run, const platform::ThreadSlot& slot, const char* name) {
  auto thread = slot.Get();
  if (!thread || thread->Wait(run->m_nStageWaitMs)) return;
  run->Log(LOG_WARNING, StrPrintf("The %s thread did not end within %.1f seconds; stopping the run.",
                                  name, run->m_nStageWaitMs / 1000.0));
  run->m_bRunning = 0;
  thread->Wait(platform::INFINITE);
}

void EmptySampleBuffers() {
  for (auto* buffer : {g_pDecodedSamples, g_pConvertedSamples}) {
    if (!buffer) continue;
    buffer->m_nWrite.store(0, std::memory_order_release);
    buffer->m_anRead[0].store(0, std::memory_order_release);
  }
}

}  // namespace

unsigned ControllerThreadProc(CRunState* run, const DecodeEntry& decode) {
  platform::Sleep(run->m_nStartDelayMs);
  if (run->m_pWnd) run->m_pWnd->SetTimer(kControllerTimerId, 1000);
  const std::uint32_t runStart = GetTickCount();
  run->m_dwRunStartTick = runStart;
  run->m_nCurrentTask = 0;
  const int taskCount = static_cast<int>(run->m_tasks.size());

  while (run->m_nCurrentTask < taskCount && run->m_bRunning) {
    const int index = run->m_nCurrentTask;
    run->Log(LOG_INFO, kSeparator);
    const std::uint32_t t0 = GetTickCount();
    if (run->m_pWnd) run->m_pWnd->SetWindowText(StrPrintf("Converting %d/%d", index + 1, taskCount));

    CConversionTask task = run->m_tasks[static_cast<std::size_t>(index)];
    std::string folder = platform::FolderOf(task.m_strDest);
    if (!platform::PathFileExists(folder) && !CreateFolderTree(folder)) {
      run->Log(LOG_ERROR, StrPrintf("Fail to create folder %s !", folder.c_str()));
      run->m_bRunning = 0;
      break;
    }
    if (platform::PathFileExists(task.m_strDest)) task.m_strDest = MakeUniqueFileName(task.m_strDest);

    if (run->m_pWnd) {
      run->m_pWnd->SetDlgItemText(IDC_CONV_SOURCE, task.m_strSource);
      run->m_pWnd->SetDlgItemText(IDC_CONV_DESTINATION, task.m_strDest);
    }
    run->Log(LOG_INFO, "Start a new converting task.");
    run->Log(LOG_INFO, StrPrintf("Source:  %s.", task.m_strSource.c_str()));
    run->Log(LOG_INFO, StrPrintf("Destination: %s.", task.m_strDest.c_str()));

    run->m_nSamplesDoneTask = 0;
    run->m_fSecondsDoneTask = 0;
    run->m_dwTaskStartTick = GetTickCount();
    EmptySampleBuffers();
    run->m_pConverterThread.Clear();
    run->m_pEncoderThread.Clear();

    if (!decode(&task)) run->m_bRunning = 0;

    if (task.m_bNeedsConversion) WaitForStage(run, run->m_pConverterThread, "conversion");
    WaitForStage(run, run->m_pEncoderThread, "encoder");

    if (run->m_bRunning) {
      float elapsed = static_cast<float>(GetTickCount() - t0) / 1000.0f;
      run->Log(LOG_INFO, StrPrintf("Time elapsed %.2f secs, speed %.2fx.", elapsed,
                                   Speed(run->m_fSecondsDoneTask, elapsed)));
      run->Log(LOG_INFO, "Converting status: OK.");
    } else {
      run->Log(LOG_ERROR, "Converting status: ERROR.");
    }
    run->m_nCurrentTask = index + 1;
  }

  if (run->m_bRunning) {
    if (taskCount > 1) {
      run->Log(LOG_INFO, kSeparator);
      float elapsed = static_cast<float>(GetTickCount() - runStart) / 1000.0f;
      run->Log(LOG_INFO, StrPrintf("Total time elapsed %.2f secs, overall speed %.2fx.", elapsed,
                                   Speed(run->m_fSecondsDoneAll, elapsed)));
    }
    if (run->m_pWnd) run->m_pWnd->PostMessage(WM_CONV_FINISHED);
  }
  return 0;
}

std::shared_ptr<platform::WorkerThread> StartController(CRunState* run, DecodeEntry decode) {
  g_pConvProg = run;
  auto thread = platform::WorkerThread::Create(
      [run, decode = std::move(decode)] { return ControllerThreadProc(run, decode); });
  run->m_pControllerThread.Set(thread);
  run->m_bRunning = 1;
  thread->Start();
  return thread;
}
