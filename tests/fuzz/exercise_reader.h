#pragma once
// Every query the decode stage and the file list make, over every track of an
// open reader; shared by the fuzz target and the reader's tests.
#include <algorithm>
#include <cstdint>
#include <cstdlib>

#include "engine/mp4_reader.h"

namespace fuzzing {

// Touches every byte, so the sanitizer sees a read past a short buffer.
inline void Consume(const std::uint8_t* p, std::uint32_t n) {
  static volatile std::uint8_t sink;
  for (std::uint32_t i = 0; i < n; ++i) sink = sink ^ p[i];
}

inline void ExerciseReader(Mp4Reader* reader) {
  FindAacTrack(reader);
  for (int track = 0; track < GetTrackCount(reader); ++track) {
    std::uint8_t* bytes = nullptr;
    std::uint32_t length = 0;
    GetDecoderConfig(reader, track, &bytes, &length);
    if (bytes) Consume(bytes, length);
    std::free(bytes);
    GetTimeScale(reader, track);
    // The first samples and the last few, one past the end included: a
    // claimed count can be huge.
    const long long last = GetSampleCount(reader, track);
    for (long long s = 0; s <= last; s = s == 63 ? std::max(64LL, last - 4) : s + 1) {
      GetSampleDuration(reader, track, static_cast<int>(s));
      std::uint32_t n = ReadSample(reader, track, static_cast<int>(s), &bytes, &length);
      if (bytes) Consume(bytes, n);
      std::free(bytes);
    }
  }
}

}  // namespace fuzzing
