#include "cli/source_probe.h"

#include "engine/audio_probe.h"

SourceFacts ProbeSource(const std::string& path) {
  AudioProbe probe = ProbeAudioSource(path);
  SourceFacts facts;
  if (probe.error) {
    facts.error = probe.errorText.empty() ? "not a usable AAC file" : probe.errorText;
    return facts;
  }
  facts.sampleRate = probe.sampleRate;
  facts.channels = probe.channels;
  facts.totalSamples = probe.totalSamples;
  facts.flags = probe.flags;
  facts.tags = probe.tags;
  return facts;
}
