#pragma once
#include <atomic>

#include "engine/conversion_task.h"

// Decodes one task's source into g_pDecodedSamples on the calling (controller)
// thread after starting the task's next stage thread: the conversion stage
// when the task needs one, otherwise the encoder. Returns 0 after a failure
// that stops the run, 1 otherwise.
int DecodeTask(CConversionTask* task);

// The task being decoded; the stage threads read the source format through it.
extern std::atomic<CConversionTask*> g_pCurrentTask;
