#include "engine/conversion_stage.h"

#include "engine/run_messages.h"
#include "engine/run_state.h"
#include "engine/stage_threads.h"

// Placeholder until the SoX chain lands: reports that conversion is missing.
int RunConversion(CConversionTask* task) {
  task->m_bConverting = 1;
  ConvLog(LOG_ERROR, "An error occurred while processing audio data");
  if (CRunState* run = g_pConvProg.load()) run->m_bRunning = 0;
  task->m_bConverting = 0;
  return 0;
}
