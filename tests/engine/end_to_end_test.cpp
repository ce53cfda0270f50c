// Whole runs on real files: the probe, the controller, FAAD2, SoX, the encoder
// module and TagLib together; the MP3 files are decoded again with libmpg123.
#include <gtest/gtest.h>
#include <taglib/id3v1tag.h>
#include <taglib/id3v2tag.h>
#include <taglib/mpegfile.h>

#include "engine/audio_probe.h"
#include "engine/controller.h"
#include "engine/encoder_settings.h"
#include "engine/lame_loader.h"
#include "engine/run_messages.h"
#include "platform/core/file_system.h"
#include "platform/core/recording_target.h"
#include "tests/encoder/mp3_probe.h"
#include "tests/engine/stage_harness.h"
#include "tests/support/temp_dir.h"

namespace {

using Line = std::pair<std::string, int>;

struct RunOutcome {
  std::vector<Line> log;
  bool finished = false;
  std::vector<std::string> destinations;
};

// Probes the fixtures, builds their tasks with the current settings and runs them.
RunOutcome RunFixtures(const std::vector<std::string>& names, const std::string& outDir) {
  g_bSameAsSrc = 0;
  g_strDesDir = outDir + "/";
  platform::RecordingTarget window(DecodeRunMessage);
  CRunState run(&window);
  RunOutcome outcome;
  for (const auto& name : names) {
    AudioProbe probe = ProbeAudioSource(TestDataDir() + "/" + name);
    EXPECT_FALSE(probe.error) << name;
    CConversionTask task = BuildTask(TestDataDir() + "/", name, probe.sampleRate, probe.channels,
                                     probe.totalSamples, probe.flags, probe.tags);
    run.m_nSamplesTotalAll += task.m_nExpectedSamples;
    outcome.destinations.push_back(task.m_strDest);
    run.m_tasks.push_back(task);
  }
  CreateSampleBuffers();
  StartController(&run);
  run.WaitForThreads();
  g_pConvProg = nullptr;
  for (const auto& m : window.Messages()) {
    if (m.msg == WM_CONV_LOG) outcome.log.emplace_back(m.text, static_cast<int>(m.values.at(0)));
    if (m.msg == WM_CONV_FINISHED) outcome.finished = true;
  }
  return outcome;
}

bool Logged(const RunOutcome& r, const Line& line) {
  return std::find(r.log.begin(), r.log.end(), line) != r.log.end();
}

struct FormatCase {
  const char* name;
  const char* fixture;
  double seconds;  // of audio in the fixture
  std::int16_t freqIndex, bitsIndex, channelMode;
  long rate;
  int channels, mode, kbps;
  double level;  // of the 1 kHz tone in each output channel
  double rightLevel = 0;  // in the second channel, when it differs
};

class EndToEnd : public ::testing::TestWithParam<FormatCase> {
 protected:
  SettingsScope settings;
  TempDir out;
};

void PrintTo(const FormatCase& c, std::ostream* os) { *os << c.name; }

TEST_P(EndToEnd, ConvertsToTheAskedFormat) {
  const FormatCase& c = GetParam();
  g_nFreqIndex = c.freqIndex;
  g_nLameBitsIndex = c.bitsIndex;
  g_nLameChannel = c.channelMode;
  RunOutcome r = RunFixtures({c.fixture}, out.path());
  ASSERT_TRUE(r.finished);
  EXPECT_TRUE(Logged(r, {"Converting status: OK.", 0}));

  Mp3Contents mp3 = ReadMp3(r.destinations[0]);
  ASSERT_TRUE(mp3.readable);
  EXPECT_EQ(mp3.rate, c.rate);
  EXPECT_EQ(mp3.channels, c.channels);
  ASSERT_GT(mp3.frames.size(), 1u);
  const Mp3FrameHeader& audio = mp3.frames[1];  // the first is the information frame
  EXPECT_EQ(audio.sampleRate, c.rate);
  EXPECT_EQ(audio.mode, c.mode);
  EXPECT_EQ(audio.bitRate, c.kbps);
  EXPECT_EQ(mp3.infoId, "Info");
  // Sample-exact: what decodes is the source's length at the output rate, no
  // encoder delay or padding, however the channels and the rate changed.
  EXPECT_EQ(mp3.decodedLength, static_cast<std::int64_t>(c.seconds * c.rate));
  EXPECT_EQ(mp3.infoFrames + 1, mp3.frames.size());
  for (int ch = 0; ch < c.channels; ++ch)
    EXPECT_NEAR(ToneAmplitude(mp3, ch, 1000), ch == 1 && c.rightLevel ? c.rightLevel : c.level, 0.06)
        << "channel " << ch;
}

const FormatCase kFormats[] = {
    {"stereo 44100 unchanged", "stereo_44100_tone.mp4", 1.0, 0, 11, CHANNEL_AUTO, 44100, 2, 1, 128, 0.5},
    {"mono 22050 to joint stereo 44100", "mono_22050.mp4", 0.5, 8, 11, CHANNEL_JOINT_STEREO, 44100, 2, 1, 128, 0.5},
    {"six channels 48000 to stereo", "six_channels_48000.mp4", 0.5, 0, 13, CHANNEL_AUTO, 48000, 2, 1, 192, 0.5,
     // The right mix averages R, LFE and the right surround; AAC keeps no 1 kHz in the LFE.
     1.0 / 3},
    {"mono 22050 stays mono", "mono_22050.mp4", 0.5, 0, 11, CHANNEL_AUTO, 22050, 1, 3, 128, 0.5},
    {"stereo 44100 to mono 22050", "stereo_44100_tone.mp4", 1.0, 5, 7, CHANNEL_MONO, 22050, 1, 3, 64, 0.5},
    {"dual channel", "stereo_44100_tone.mp4", 1.0, 0, 11, CHANNEL_DUAL, 44100, 2, 2, 128, 0.5},
    {"8 kbps mono 8000", "mono_22050.mp4", 0.5, 1, 0, CHANNEL_MONO, 8000, 1, 3, 8, 0.5},
    {"320 kbps stereo", "stereo_44100_tone_faststart.mp4", 1.0, 0, 16, CHANNEL_STEREO, 44100, 2, 0, 320, 0.5},
};

INSTANTIATE_TEST_SUITE_P(Formats, EndToEnd, ::testing::ValuesIn(kFormats), [](const auto& info) {
  std::string n = info.param.name;
  for (auto& ch : n)
    if (!std::isalnum(static_cast<unsigned char>(ch))) ch = '_';
  return n;
});

}  // namespace

TEST(EndToEndTags, TaggedSourceGivesBothTagsUntaggedGivesNone) {
  SettingsScope settings;
  TempDir out;
  RunOutcome r = RunFixtures({"tagged.mp4", "tagged_unicode.mp4", "stereo_44100_tone.mp4"}, out.path());
  ASSERT_TRUE(r.finished);

  TagLib::MPEG::File tagged(r.destinations[0].c_str(), false);
  ASSERT_TRUE(tagged.hasID3v2Tag());
  ASSERT_TRUE(tagged.hasID3v1Tag());
  EXPECT_FALSE(tagged.hasAPETag());
  const auto& frames = tagged.ID3v2Tag()->frameListMap();
  for (const char* id : {"TPE1", "TPE2", "TALB", "TRCK", "TIT2", "TCON", "TDRC", "COMM", "TENC"})
    EXPECT_TRUE(frames.contains(id)) << id;
  EXPECT_EQ(frames["TRCK"].front()->toString().to8Bit(true), "7/12");
  EXPECT_EQ(frames["TPE2"].front()->toString().to8Bit(true), "Test Album Artist");
  EXPECT_EQ(tagged.ID3v1Tag()->track(), 7u);
  EXPECT_EQ(tagged.ID3v1Tag()->year(), 2019u);

  TagLib::MPEG::File unicode(r.destinations[1].c_str(), false);
  ASSERT_TRUE(unicode.hasID3v2Tag());
  EXPECT_EQ(unicode.ID3v2Tag()->artist().to8Bit(true), "坂本 🎹 Ryūichi");
  EXPECT_EQ(unicode.ID3v1Tag()->artist().to8Bit(false), "?? ? Ry?ichi");

  TagLib::MPEG::File plain(r.destinations[2].c_str(), false);
  EXPECT_FALSE(plain.hasID3v2Tag());
  EXPECT_FALSE(plain.hasID3v1Tag());
}

TEST(EndToEndFailures, DamagedSourceStopsTheRun) {
  SettingsScope settings;
  TempDir out;
  RunOutcome r = RunFixtures({"stereo_44100_tone.mp4", "damaged_truncated.mp4", "tagged.mp4"}, out.path());
  EXPECT_FALSE(r.finished);
  EXPECT_TRUE(Logged(r, {"Reading from MP4 file failed.", 2}));
  EXPECT_EQ(r.log.back(), Line("Converting status: ERROR.", 2));
  EXPECT_TRUE(platform::PathFileExists(r.destinations[0]));
  EXPECT_FALSE(platform::PathFileExists(r.destinations[2]));  // never started
  // What was decoded before the damage is still a playable file.
  EXPECT_TRUE(ReadMp3(r.destinations[1]).readable);
}

TEST(EndToEndFailures, MissingEncoderModuleStopsTheRun) {
  SettingsScope settings;
  TempDir out;
  SetLameModulePath(out.path() + "/no-such-module.so");
  RunOutcome r = RunFixtures({"stereo_44100_tone.mp4", "tagged.mp4"}, out.path());
  SetLameModulePath("");
  EXPECT_FALSE(r.finished);
  EXPECT_TRUE(Logged(r, {"Error loading lame_enc.dll", 2}));
  EXPECT_EQ(r.log.back(), Line("Converting status: ERROR.", 2));
}

TEST(EndToEndFailures, DestinationThatCannotBeCreated) {
  SettingsScope settings;
  TempDir out;
  out.WriteFile("blocker", "a file where the folder should be");
  RunOutcome r = RunFixtures({"stereo_44100_tone.mp4"}, out.path() + "/blocker/sub");
  EXPECT_FALSE(r.finished);
  ASSERT_FALSE(r.log.empty());
  EXPECT_EQ(r.log.back(), Line("Fail to create folder " + out.path() + "/blocker/sub !", 2));
}
