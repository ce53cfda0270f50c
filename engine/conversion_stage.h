#pragma once
#include "engine/conversion_task.h"

// Converts channel count and sample rate from g_pDecodedSamples into
// g_pConvertedSamples, after starting the encoder thread. 1 when the chain ran
// to its end, 0 after an error.
int RunConversion(CConversionTask* task);
