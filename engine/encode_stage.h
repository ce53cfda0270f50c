#pragma once
#include "engine/conversion_task.h"

// The encoder thread's body: encodes the task's samples into its MP3 file,
// then writes the tags.
int RunEncoder(CConversionTask* task);
