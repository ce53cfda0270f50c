// The conversion and encode stages on real SoX and the real encoder module,
// fed by a test producer; what they write is decoded again with libmpg123.
#include <gtest/gtest.h>

#include <cmath>
#include <cstdio>

#include "engine/encoder_settings.h"
#include "engine/run_messages.h"
#include "tests/encoder/mp3_probe.h"
#include "tests/engine/stage_harness.h"
#include "tests/support/temp_dir.h"

namespace {

using Kind = platform::RecordedMessage::Kind;

struct FormatCase {
  const char* name;
  ToneSource source;
  std::int16_t channelMode;
  std::uint32_t outRate;  // 0: automatic
  int kbps;
  // What the file must say.
  int headerMode, headerKbps;
  std::uint32_t headerRate, channels;
  double level;  // tone amplitude in each output channel
};

TEST(EncodePipeline, FormatsComeOutAsAsked) {
  const FormatCase cases[] = {
      {"stereo 44100 unchanged", {44100, 2, 26460}, CHANNEL_AUTO, 0, 128, 1, 128, 44100, 2, 0.5},
      {"mono 22050 to joint stereo 44100", {22050, 1, 13230}, CHANNEL_JOINT_STEREO, 44100, 128, 1,
       128, 44100, 2, 0.5},
      {"six channels 48000 to stereo", {48000, 6, 28800}, CHANNEL_AUTO, 0, 192, 1, 192, 48000, 2,
       0.5},
      {"stereo 44100 to mono 22050", {44100, 2, 26460}, CHANNEL_MONO, 22050, 64, 3, 64, 22050, 1,
       0.5},
      {"dual channel", {44100, 2, 26460}, CHANNEL_DUAL, 0, 128, 2, 128, 44100, 2, 0.5},
      {"8 kbps, 16000 to 8000 mono", {16000, 1, 9600}, CHANNEL_AUTO, 8000, 8, 3, 8, 8000, 1, 0.5},
      {"320 kbps stereo 48000", {48000, 2, 28800}, CHANNEL_STEREO, 0, 320, 0, 320, 48000, 2, 0.5},
  };
  SettingsScope settings;
  TempDir dir;
  for (const auto& c : cases) {
    SCOPED_TRACE(c.name);
    g_nLameChannel = c.channelMode;
    g_nFreqIndex = static_cast<std::int16_t>(c.outRate ? FrequencyIndexOf(c.outRate) : 0);
    g_nLameBitsIndex = static_cast<std::int16_t>(BitrateIndexOf(c.kbps));
    StageRun stages;
    CConversionTask task = stages.MakeTask(c.source, dir.path() + "/", std::string(c.name) + ".mp4");
    stages.Run(&task, c.source);

    EXPECT_TRUE(stages.Log().empty()) << stages.Log().front().first;
    EXPECT_EQ(stages.run.m_bRunning.load(), 1);
    Mp3Contents mp3 = ReadMp3(task.m_strDest);
    ASSERT_GT(mp3.frames.size(), 2u);
    EXPECT_EQ(mp3.infoId, "Info");
    for (std::size_t i = 1; i < mp3.frames.size(); ++i) {
      EXPECT_EQ(mp3.frames[i].sampleRate, static_cast<int>(c.headerRate));
      EXPECT_EQ(mp3.frames[i].mode, c.headerMode);
      EXPECT_EQ(mp3.frames[i].bitRate, c.headerKbps);
    }
    EXPECT_EQ(mp3.rate, static_cast<long>(c.headerRate));
    EXPECT_EQ(mp3.channels, static_cast<int>(c.channels));

    // Length: what the encoder was given, which is what the source holds at
    // the new rate, within one frame.
    const std::int64_t expected = static_cast<std::int64_t>(task.m_nExpectedSamples / c.channels);
    const int frameSamples = mp3.frames[1].samples;
    EXPECT_EQ(static_cast<std::uint64_t>(mp3.decodedLength) * c.channels,
              stages.run.m_nSamplesDoneTask.load());
    EXPECT_LE(std::llabs(mp3.decodedLength - expected), frameSamples);
    const std::int64_t audioFrames = static_cast<std::int64_t>(mp3.frames.size()) - 1;
    EXPECT_GE(audioFrames * frameSamples, mp3.decodedLength + 576);
    EXPECT_LE(audioFrames * frameSamples, mp3.decodedLength + 576 + 2 * frameSamples);
    for (std::uint32_t ch = 0; ch < c.channels; ++ch)
      EXPECT_NEAR(ToneAmplitude(mp3, static_cast<int>(ch), 1000.0), c.level, c.level * 0.12)
          << "channel " << ch;

    // The seconds counters follow the samples.
    EXPECT_NEAR(stages.run.m_fSecondsDoneTask.load(),
                static_cast<double>(mp3.decodedLength) / c.headerRate, 1e-3);
    // The final report is sent, and says the task is done.
    auto sent = stages.Progress(Kind::Sent);
    ASSERT_EQ(sent.size(), 1u);
    EXPECT_NEAR(sent[0][0], 100.0, 1.0);
  }
}

}  // namespace
