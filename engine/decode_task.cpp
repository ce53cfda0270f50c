#include "engine/decode_task.h"

#include "engine/decode_source.h"
#include "engine/run_messages.h"
#include "engine/run_state.h"
#include "engine/stage_threads.h"

std::atomic<CConversionTask*> g_pCurrentTask{nullptr};

int DecodeTask(CConversionTask* task) {
  g_pCurrentTask = task;
  task->m_bDecoding = 1;
  CRunState* run = g_pConvProg.load();
  if (!run) {
    task->m_bDecoding = 0;
    return 0;
  }
  // No stage thread of this task exists yet.
  run->m_pConverterThread.Clear();
  run->m_pEncoderThread.Clear();

  if (!CheckSourceReadable(task->m_strSource)) {
    run->m_bRunning = 0;
    task->m_bDecoding = 0;
    return 0;
  }

  int result = 0;
  try {
    if (task->m_bNeedsConversion) {
      task->m_pEncoderInput = g_pConvertedSamples;
      StartStageThread(run->m_pConverterThread, [task] { return ConvertThreadProc(task); });
    } else {
      task->m_pEncoderInput = g_pDecodedSamples;
      StartStageThread(run->m_pEncoderThread, [task] { return EncoderThreadProc(task); });
    }
    result = DecodeSource(task);
  } catch (...) {
    run->m_bRunning = 0;
    try {
      run->Log(LOG_ERROR, "An error occurred while decoding " + task->m_strSource);
    } catch (...) {
      // Out of memory even for the line: the stopped run says enough.
    }
    result = 0;
  }
  // Tells the reader of g_pDecodedSamples that no more samples will come.
  task->m_bDecoding = 0;
  return result;
}
