#pragma once
// What a source file holds, as far as listing and converting it needs: the
// audio format from the container and the AAC decoder configuration, an
// estimate of its length, its MP4 tag texts and its bit rate. One probe
// serves the file list and the command line.
#include <cstdint>
#include <string>

#include "engine/conversion_task.h"

struct AudioProbe {
  bool error = false;              // cannot be opened, no AAC track, or no usable format
  std::string errorText;           // why, for the command line
  std::uint32_t sampleRate = 0;    // Hz, from the decoder configuration
  std::uint32_t channels = 0;      // its channel configuration value
  std::uint64_t totalSamples = 0;  // all channels together
  double duration = 0;             // seconds
  std::uint8_t flags = 0;          // FILE_HAS_MP4_TAG when the file has a non-empty MP4 tag
  std::uint8_t track = 0;          // low 8 bits of the track number
  std::uint8_t trackTotal = 0;     // low 8 bits of the track total
  TagTexts tags;                   // tags.track is "7" or "7/12", empty without a number
  int bitrate = 0;                 // kbit/s as the tag library reports it; 0 when unknown
};

AudioProbe ProbeAudioSource(const std::string& path);
