#include "engine/encode_stage.h"

#include "engine/run_messages.h"
#include "engine/run_state.h"

// Placeholder until the encoder lands: reports that encoding is missing.
int RunEncoder(CConversionTask* task) {
  task->m_bEncoding = 1;
  ConvLog(LOG_ERROR, "An error occurred while encoding " + task->m_strDest);
  if (CRunState* run = g_pConvProg.load()) run->m_bRunning = 0;
  task->m_bEncoding = 0;
  return 0;
}
