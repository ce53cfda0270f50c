#include "engine/decode_task.h"

#include "engine/run_messages.h"
#include "engine/run_state.h"

std::atomic<CConversionTask*> g_pCurrentTask{nullptr};

int DecodeTask(CConversionTask* task) {
  g_pCurrentTask = task;
  ConvLog(LOG_ERROR, "Error : could not open mp4 file : " + task->m_strSource);
  if (CRunState* run = g_pConvProg.load()) run->m_bRunning = 0;
  return 0;
}
