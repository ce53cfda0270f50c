#pragma once
// What the command line needs to know of a source file to build its task.
#include <cstdint>
#include <string>

#include "engine/conversion_task.h"

struct SourceFacts {
  std::uint32_t sampleRate = 0;
  std::uint32_t channels = 0;
  std::uint64_t totalSamples = 0;
  std::uint8_t flags = 0;
  TagTexts tags;
  std::string error;  // why the file cannot be converted; empty when it can
};

SourceFacts ProbeSource(const std::string& path);
