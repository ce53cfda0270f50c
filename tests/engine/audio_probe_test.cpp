#include <gtest/gtest.h>

#include "engine/audio_probe.h"
#include "tests/support/temp_dir.h"

TEST(AudioProbe, FormatLengthAndTagsOfTheFixtures) {
  struct Case {
    const char* file;
    std::uint32_t rate, channels;
    int frames;  // AAC frames in the track
    bool tagged;
  };
  const Case cases[] = {
      {"stereo_44100_tone.mp4", 44100, 2, 45, false},
      {"mono_22050.mp4", 22050, 1, 12, false},  // FAAD2 alone would say 2
      {"six_channels_48000.mp4", 48000, 6, 25, false},
      {"tagged.mp4", 44100, 2, 10, true},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.file);
    AudioProbe p = ProbeAudioSource(TestDataDir() + "/" + c.file);
    EXPECT_FALSE(p.error) << p.errorText;
    EXPECT_EQ(p.sampleRate, c.rate);
    EXPECT_EQ(p.channels, c.channels);
    // A full 1024 samples per frame and channel.
    EXPECT_EQ(p.totalSamples, 1024ull * c.frames * c.channels);
    EXPECT_DOUBLE_EQ(p.duration, 1024.0 * c.frames / c.rate);
    EXPECT_EQ((p.flags & FILE_HAS_MP4_TAG) != 0, c.tagged);
    EXPECT_GT(p.bitrate, 0);
  }
}

TEST(AudioProbe, TagTexts) {
  AudioProbe p = ProbeAudioSource(TestDataDir() + "/tagged.mp4");
  EXPECT_EQ(p.tags.artist, "Test Artist");
  EXPECT_EQ(p.tags.albumArtist, "Test Album Artist");
  EXPECT_EQ(p.tags.album, "Test Album");
  EXPECT_EQ(p.tags.track, "7/12");
  EXPECT_EQ(p.track, 7);
  EXPECT_EQ(p.trackTotal, 12);
  EXPECT_EQ(p.tags.title, "Test Title");
  EXPECT_EQ(p.tags.genre, "Ambient");
  EXPECT_EQ(p.tags.date, "2019");
  EXPECT_EQ(p.tags.comment, "A test comment");
  AudioProbe u = ProbeAudioSource(TestDataDir() + "/tagged_unicode.mp4");
  EXPECT_EQ(u.tags.artist, "坂本 🎹 Ryūichi");  // beyond the BMP too
  EXPECT_EQ(u.tags.track, "3");
  EXPECT_EQ(u.trackTotal, 0);
}

TEST(AudioProbe, UnusableFilesSayWhy) {
  TempDir dir;
  struct Case { std::string path; const char* reason; };
  const Case cases[] = {
      {TestDataDir() + "/not_mp4.mp4", "no AAC audio track"},
      {dir.path() + "/missing.mp4", "cannot open the file"},
      {dir.WriteFile("empty.m4a"), "no AAC audio track"},
  };
  for (const auto& c : cases) {
    AudioProbe p = ProbeAudioSource(c.path);
    EXPECT_TRUE(p.error) << c.path;
    EXPECT_EQ(p.errorText, c.reason) << c.path;
  }
}
