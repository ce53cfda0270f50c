// The audio probe on MP4 files built byte by byte: configurations that the
// fixtures' encoder does not write, and tags edited with TagLib.
#include <gtest/gtest.h>
#include <taglib/mp4file.h>

#include <fstream>

#include "engine/audio_probe.h"
#include "tests/engine/atom_writer.h"
#include "tests/support/temp_dir.h"

namespace {

// An AAC track with the given AudioSpecificConfig and frames of four bytes.
std::string BuiltMp4(const std::string& config, std::uint32_t frames) {
  atoms::AacFile file;
  file.config = config;
  file.frames.assign(frames, std::string(4, '\0'));
  if (frames > 0) file.stts = {{frames, 1024}};
  return file.Build();
}

// Each access unit counts as a whole frame: 1024 samples per channel, 2048
// with spectral band replication, where the configuration names the output rate.
TEST(AudioProbeConfig, SamplesPerFrameAndChannelsFollowTheConfiguration) {
  struct Case {
    const char* what;
    std::string config;
    std::uint32_t rate;
    std::uint32_t channels;
    std::uint64_t perFrame;
  } cases[] = {
      {"AAC-LC 44100 stereo", std::string("\x12\x10", 2), 44100, 2, 1024},
      {"AAC-LC 22050 mono", std::string("\x13\x88\x56\xE5\x00", 5), 22050, 1, 1024},
      {"HE-AAC, 22050 core, 44100 out", std::string("\x2B\x92\x08\x00", 4), 44100, 2, 2048},
      {"AAC-LC 48000 7.1", std::string("\x11\xB8", 2), 48000, 8, 1024},
  };
  TempDir dir;
  for (const auto& c : cases) {
    SCOPED_TRACE(c.what);
    const AudioProbe probe = ProbeAudioSource(dir.WriteFile("built.mp4", BuiltMp4(c.config, 100)));
    ASSERT_FALSE(probe.error) << probe.errorText;
    EXPECT_EQ(probe.sampleRate, c.rate);
    EXPECT_EQ(probe.channels, c.channels);
    EXPECT_EQ(probe.totalSamples, c.perFrame * 100 * c.channels);
    EXPECT_DOUBLE_EQ(probe.duration, double(c.perFrame) * 100 / c.rate);
  }
}

TEST(AudioProbeConfig, ATrackWithoutFramesIsNoAudio) {
  TempDir dir;
  const AudioProbe probe =
      ProbeAudioSource(dir.WriteFile("empty_track.mp4", BuiltMp4(std::string("\x12\x10", 2), 0)));
  EXPECT_TRUE(probe.error);
  EXPECT_EQ(probe.duration, 0.0);
}

TEST(AudioProbeConfig, TrackNumbersAboveAByteStayWhole) {
  TempDir dir;
  const std::string path = dir.path() + "/long.mp4";
  {
    std::ifstream in(TestDataDir() + "/tagged.mp4", std::ios::binary);
    std::ofstream(path, std::ios::binary) << in.rdbuf();
  }
  {
    TagLib::MP4::File file(path.c_str());
    ASSERT_TRUE(file.isValid());
    file.tag()->setItem("trkn", TagLib::MP4::Item(300, 512));
    file.save();
  }
  const AudioProbe probe = ProbeAudioSource(path);
  EXPECT_EQ(probe.track, 300);
  EXPECT_EQ(probe.trackTotal, 512);
  EXPECT_EQ(probe.tags.track, "300/512");
}

}  // namespace
