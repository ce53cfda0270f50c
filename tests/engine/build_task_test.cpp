#include <gtest/gtest.h>

#include "engine/conversion_task.h"
#include "engine/encoder_settings.h"

namespace {

struct BuildCase {
  const char* name;
  // settings
  std::int16_t freqIndex, channelMode;
  int sameAsSrc;
  // source
  const char* fileName;
  std::uint32_t rate, channels;
  std::uint64_t samples;
  // expected
  std::uint32_t outRate, outChannels;
  std::uint64_t expected;
  int needsConversion;
  const char* dest;
};

const BuildCase kCases[] = {
    {"stereo 44100 auto", 0, CHANNEL_AUTO, 0, "a.m4a", 44100, 2, 100001, 44100, 2, 100000, 0,
     "/out/a.mp3"},
    {"mono 22050 joint at index 8", 8, CHANNEL_JOINT_STEREO, 0, "m.mp4", 22050, 1, 1000, 44100, 2,
     4000, 1, "/out/m.mp3"},
    {"six channels 48000 auto", 0, CHANNEL_AUTO, 0, "s.mp4", 48000, 6, 6000, 48000, 2, 2000, 1,
     "/out/s.mp3"},
    {"96000 becomes 48000", 0, CHANNEL_AUTO, 0, "h.mp4", 96000, 2, 9600, 48000, 2, 4800, 1,
     "/out/h.mp3"},
    {"7350 becomes 8000", 0, CHANNEL_AUTO, 0, "l.mp4", 7350, 1, 7350, 8000, 1, 8000, 1,
     "/out/l.mp3"},
    {"mono mode on stereo", 0, CHANNEL_MONO, 0, "x.mp4", 44100, 2, 1001, 44100, 1, 500, 1,
     "/out/x.mp3"},
    {"dual on mono source", 5, CHANNEL_DUAL, 0, "d.mp4", 22050, 1, 99, 22050, 2, 198, 1,
     "/out/d.mp3"},
    {"same as source, dots in the name", 0, CHANNEL_AUTO, 1, "a.b.mp4", 44100, 2, 10, 44100, 2,
     10, 0, "/in/a.b.mp3"},
    {"common folder, dots in the name", 0, CHANNEL_AUTO, 0, "a.b.mp4", 44100, 2, 10, 44100, 2,
     10, 0, "/out/a.b.mp3"},
    {"a name without a dot", 0, CHANNEL_AUTO, 0, "noext", 44100, 2, 10, 44100, 2, 10, 0,
     "/out/mp3"},
    {"no channels declared", 0, CHANNEL_AUTO, 0, "z.mp4", 44100, 0, 10, 44100, 0, 0, 0,
     "/out/z.mp3"},
};

void PrintTo(const BuildCase& c, std::ostream* os) { *os << c.name; }

class BuildTaskTest : public ::testing::TestWithParam<BuildCase> {
 protected:
  void SetUp() override { g_strDesDir = "/out/"; }
  void TearDown() override {
    g_nFreqIndex = 0;
    g_nLameChannel = 0;
    g_bSameAsSrc = 0;
  }
};

TEST_P(BuildTaskTest, BuildsTheTask) {
  const BuildCase& c = GetParam();
  g_nFreqIndex = c.freqIndex;
  g_nLameChannel = c.channelMode;
  g_bSameAsSrc = c.sameAsSrc;
  TagTexts tags{"Artist", "Album Artist", "Album", "7/12", "Title", "Genre", "2009-05-01", "Note"};
  CConversionTask t = BuildTask("/in/", c.fileName, c.rate, c.channels, c.samples, 0x20, tags);
  EXPECT_EQ(t.m_strSource, "/in/" + std::string(c.fileName));
  EXPECT_EQ(t.m_strDest, c.dest);
  EXPECT_EQ(t.m_nSrcSampleRate, c.rate);
  EXPECT_EQ(t.m_nSrcChannels, c.channels);
  EXPECT_EQ(t.m_nSampleRate, c.outRate);
  EXPECT_EQ(t.m_nChannels, c.outChannels);
  EXPECT_EQ(t.m_nExpectedSamples, c.expected);
  EXPECT_EQ(t.m_bNeedsConversion, c.needsConversion);
  EXPECT_EQ(t.m_nFlags, 0x20);
  EXPECT_EQ(t.m_strTrack, "7/12");
  EXPECT_EQ(t.m_strComment, "Note");
  EXPECT_EQ(t.m_bDecoding, 0);
  EXPECT_EQ(t.m_pEncoderInput, nullptr);
}

INSTANTIATE_TEST_SUITE_P(Cases, BuildTaskTest, ::testing::ValuesIn(kCases),
                         [](const auto& info) {
                           std::string n = info.param.name;
                           for (auto& ch : n)
                             if (!isalnum(static_cast<unsigned char>(ch))) ch = '_';
                           return n;
                         });

}  // namespace

TEST(ConversionTask, NewTaskAndCopies) {
  CConversionTask t;
  EXPECT_EQ(t.m_nSrcSampleRate, 0xFFFFFFFFu);
  EXPECT_EQ(t.m_nChannels, 0xFFFFFFFFu);
  EXPECT_EQ(t.m_bEncoding, 0);
  t.m_strTitle = "A title longer than the inline buffer";
  t.m_bDecoding = 1;
  CConversionTask copy = t;
  EXPECT_EQ(copy.m_strTitle, t.m_strTitle);
  EXPECT_EQ(copy.m_bDecoding, 1);
}

TEST(ConversionTask, GetSeconds) {
  CConversionTask t;
  t.m_nChannels = 2;
  t.m_nSampleRate = 44100;
  EXPECT_FLOAT_EQ(t.GetSeconds(88200), 1.0f);
  EXPECT_FLOAT_EQ(t.GetSeconds(2304), 2304.0f / 88200.0f);
}

TEST(EncoderSettings, StatusText) {
  struct Case { std::int16_t freq, bits, channel; const char* text; };
  const Case cases[] = {
      {0, 11, 0, "MP3:  CBR 128 kbps; Automatic Frequency; Automatic Channel;"},
      {8, 0, 1, "MP3:  CBR   8 kbps; 44100 Hz; Mono;"},
      {1, 16, 2, "MP3:  CBR 320 kbps;  8000 Hz; Stereo;"},
      {9, 7, 3, "MP3:  CBR  64 kbps; 48000 Hz; Joint Stereo;"},
      {0, 12, 4, "MP3:  CBR 160 kbps; Automatic Frequency; Dual Channel;"},
  };
  for (const auto& c : cases) {
    g_nFreqIndex = c.freq;
    g_nLameBitsIndex = c.bits;
    g_nLameChannel = c.channel;
    EXPECT_EQ(FormatEncoderSettings(), c.text);
  }
  g_nFreqIndex = 0;
  g_nLameBitsIndex = 11;
  g_nLameChannel = 0;
}
