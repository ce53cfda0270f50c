// The audio probe on the committed fixtures and on hand-built MP4 files.
#include "engine/audio_probe.h"

#include <gtest/gtest.h>

#include <taglib/mp4file.h>

#include <fstream>

#include "tests/engine/atom_writer.h"
#include "tests/support/temp_dir.h"

namespace {

std::string Fixture(const char* name) { return TestDataDir() + "/" + name; }

// An AAC track with the given configuration and frames of four bytes.
std::string BuiltMp4(const std::string& config, std::uint32_t frames) {
  atoms::AacFile file;
  file.config = config;
  file.frames.assign(frames, std::string(4, '\0'));
  if (frames > 0) file.stts = {{frames, 1024}};
  return file.Build();
}

TEST(AudioProbeTest, FormatOfTheFixtures) {
  struct Case {
    const char* file;
    std::uint32_t rate;
    std::uint32_t channels;
    double minSeconds, maxSeconds;
  } cases[] = {
      {"stereo_44100_tone.mp4", 44100, 2, 1.0, 1.1},
      {"stereo_44100_tone_faststart.mp4", 44100, 2, 1.0, 1.1},
      {"mono_22050.mp4", 22050, 1, 0.5, 0.6},
      {"six_channels_48000.mp4", 48000, 6, 0.5, 0.6},
      {"video_then_audio.mp4", 44100, 2, 0.4, 0.5},
  };
  for (const auto& c : cases) {
    const AudioProbe probe = ProbeAudioSource(Fixture(c.file));
    EXPECT_FALSE(probe.error) << c.file;
    EXPECT_EQ(probe.sampleRate, c.rate) << c.file;
    EXPECT_EQ(probe.channels, c.channels) << c.file;
    // Whole frames of 1024 samples per channel.
    EXPECT_EQ(probe.totalSamples % (1024 * c.channels), 0u) << c.file;
    EXPECT_GE(probe.duration, c.minSeconds) << c.file;
    EXPECT_LE(probe.duration, c.maxSeconds) << c.file;
    EXPECT_EQ(probe.flags, 0) << c.file;
  }
}

TEST(AudioProbeTest, FilesWithoutUsableAudioAreErrors) {
  TempDir dir;
  const std::string cases[] = {
      Fixture("not_mp4.mp4"),
      dir.path() + "/missing.mp4",
      dir.WriteFile("empty.mp4"),
      dir.WriteFile("no_frames.mp4", BuiltMp4(std::string("\x12\x10", 2), 0)),
  };
  for (const auto& path : cases) {
    const AudioProbe probe = ProbeAudioSource(path);
    EXPECT_TRUE(probe.error) << path;
    EXPECT_EQ(probe.flags, 0) << path;
    EXPECT_EQ(probe.duration, 0.0) << path;
  }
}

// Each access unit counts as a whole frame: 1024 samples per channel, 2048
// with spectral band replication, where the configuration names the output rate.
TEST(AudioProbeTest, SamplesPerFrameFollowTheConfiguration) {
  struct Case {
    const char* what;
    std::string config;
    std::uint32_t rate;
    std::uint32_t channels;
    std::uint64_t perFrame;
  } cases[] = {
      {"AAC-LC 44100 stereo", std::string("\x12\x10", 2), 44100, 2, 1024},
      {"HE-AAC 22050 core, 44100 out", std::string("\x2B\x92\x08\x00", 4), 44100, 2, 2048},
      {"AAC-LC 48000 7.1", std::string("\x11\xB8", 2), 48000, 8, 1024},
  };
  TempDir dir;
  for (const auto& c : cases) {
    const AudioProbe probe = ProbeAudioSource(dir.WriteFile("built.mp4", BuiltMp4(c.config, 100)));
    ASSERT_FALSE(probe.error) << c.what;
    EXPECT_EQ(probe.sampleRate, c.rate) << c.what;
    EXPECT_EQ(probe.channels, c.channels) << c.what;
    EXPECT_EQ(probe.totalSamples, c.perFrame * 100 * c.channels) << c.what;
    EXPECT_DOUBLE_EQ(probe.duration, double(c.perFrame) * 100 / c.rate) << c.what;
  }
}

TEST(AudioProbeTest, TagItems) {
  const AudioProbe probe = ProbeAudioSource(Fixture("tagged.mp4"));
  ASSERT_FALSE(probe.error);
  ASSERT_EQ(probe.flags, FILE_HAS_MP4_TAG);
  const TagTexts& t = probe.tags;
  EXPECT_EQ(t.artist, "Test Artist");
  EXPECT_EQ(t.albumArtist, "Test Album Artist");
  EXPECT_EQ(t.album, "Test Album");
  EXPECT_EQ(t.track, "7/12");
  EXPECT_EQ(probe.track, 7);
  EXPECT_EQ(probe.trackTotal, 12);
  EXPECT_EQ(t.title, "Test Title");
  EXPECT_EQ(t.genre, "Ambient");
  EXPECT_EQ(t.date, "2019");
  EXPECT_EQ(t.comment, "A test comment");
}

TEST(AudioProbeTest, TagTextsKeepCharactersBeyondTheBasicPlane) {
  const AudioProbe probe = ProbeAudioSource(Fixture("tagged_unicode.mp4"));
  ASSERT_EQ(probe.flags, FILE_HAS_MP4_TAG);
  EXPECT_EQ(probe.tags.artist, "坂本 🎹 Ryūichi");
  EXPECT_EQ(probe.tags.album, "東京");
  EXPECT_EQ(probe.tags.title, "Ünïcödé 🎵");
  EXPECT_EQ(probe.tags.track, "3");
  EXPECT_EQ(probe.track, 3);
  EXPECT_EQ(probe.trackTotal, 0);
}

TEST(AudioProbeTest, TrackNumbersAboveAByteStayWhole) {
  TempDir dir;
  const std::string path = dir.path() + "/long.mp4";
  {
    std::ifstream in(Fixture("tagged.mp4"), std::ios::binary);
    std::ofstream(path, std::ios::binary) << in.rdbuf();
  }
  {
    TagLib::MP4::File file(path.c_str());
    file.tag()->setItem("trkn", TagLib::MP4::Item(300, 512));
    file.save();
  }
  const AudioProbe probe = ProbeAudioSource(path);
  EXPECT_EQ(probe.track, 300);
  EXPECT_EQ(probe.trackTotal, 512);
  EXPECT_EQ(probe.tags.track, "300/512");
}

TEST(AudioProbeTest, BitrateComesFromTagLib) {
  EXPECT_GT(ProbeAudioSource(Fixture("stereo_44100_tone.mp4")).bitrate, 0);
  EXPECT_EQ(ProbeAudioSource(Fixture("not_mp4.mp4")).bitrate, 0);
}

}  // namespace
