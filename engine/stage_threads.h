#pragma once
// The per-task stage threads: started created-then-recorded-then-run, so the
// controller always finds the thread it must wait for.
#include <functional>
#include <memory>

#include "engine/conversion_task.h"
#include "platform/core/worker_thread.h"

unsigned ConvertThreadProc(CConversionTask* task);  // runs RunConversion
unsigned EncoderThreadProc(CConversionTask* task);  // runs RunEncoder

// Creates a thread for proc, records it in slot, then starts it.
std::shared_ptr<platform::WorkerThread> StartStageThread(platform::ThreadSlot& slot,
                                                         std::function<unsigned()> proc);
