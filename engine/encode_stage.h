#pragma once
#include "engine/conversion_task.h"

// The encoder thread's body: encodes the task's samples into its MP3 file,
// then writes the tags. 0 when the encoder module or one of its required
// entry points is missing or something threw, 1 otherwise.
int RunEncoder(CConversionTask* task);

// Encodes the samples of m_pEncoderInput into m_strDest until the producer has
// finished or the run stops. 0 when the encoder module or one of its required
// entry points is missing, 1 otherwise (failures are logged and stop the run).
int EncodeTask(CConversionTask* task);
