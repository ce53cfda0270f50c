#pragma once
// The decoding proper: one task's AAC track through FAAD2 into g_pDecodedSamples.
#include <cstdint>
#include <string>

#include "engine/conversion_task.h"
#include "engine/run_state.h"

// Samples one conversion pass handles; larger frames go through in pieces.
inline constexpr std::uint32_t kDecodeBufferSamples = 16384;

// Decodes the task's source, applying the gapless rules. 0 after a failure
// (logged, run stopped), 1 otherwise, also when a damaged frame or the run
// flag ended decoding early.
int DecodeSource(CConversionTask* task);

// 1 when the file can be opened for reading; otherwise logs why and returns 0.
int CheckSourceReadable(const std::string& path);

// Converts n decoded samples to integers, masks them and writes them to
// g_pDecodedSamples, waiting for room in 1 ms steps. Works through buffer
// (bufferSize samples) a piece at a time. False when the run flag fell while
// waiting.
bool WriteDecodedSamples(const double* src, std::uint32_t n, int* buffer, std::uint32_t bufferSize,
                         const CRunState& run);
