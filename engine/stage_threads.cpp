#include "engine/stage_threads.h"

#include "engine/conversion_stage.h"
#include "engine/encode_stage.h"

unsigned ConvertThreadProc(CConversionTask* task) {
  RunConversion(task);
  return 0;
}

unsigned EncoderThreadProc(CConversionTask* task) {
  RunEncoder(task);
  return 0;
}

std::shared_ptr<platform::WorkerThread> StartStageThread(platform::ThreadSlot& slot,
                                                         std::function<unsigned()> proc) {
  auto thread = platform::WorkerThread::Create(std::move(proc));
  slot.Set(thread);
  thread->Start();
  return thread;
}
