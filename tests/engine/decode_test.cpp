#include <gtest/gtest.h>

#include <algorithm>
#include <atomic>
#include <chrono>
#include <climits>
#include <cmath>
#include <limits>
#include <string>
#include <thread>
#include <utility>
#include <vector>

#include "engine/decode_source.h"
#include "engine/decode_task.h"
#include "engine/ring_buffer.h"
#include "engine/run_messages.h"
#include "engine/run_state.h"
#include "engine/sample_convert.h"
#include "platform/core/recording_target.h"
#include "platform/core/ticks.h"
#include "tests/engine/atom_writer.h"
#include "tests/engine/mp4_test_support.h"
#include "tests/support/temp_dir.h"

using Line = std::pair<std::string, int>;
using Lines = std::vector<Line>;

namespace {

std::string Fixture(const std::string& name) { return TestDataDir() + "/" + name; }

void EmptySampleBuffers() {
  for (auto* buffer : {g_pDecodedSamples, g_pConvertedSamples}) {
    buffer->m_nWrite.store(0);
    buffer->m_anRead[0].store(0);
  }
}

// The AudioSpecificConfig and the 45 AAC frames of the stereo tone fixture,
// for files built around real audio.
struct RealAudio {
  std::string config;
  std::vector<std::string> frames;
};
const RealAudio& StereoFrames() {
  static const RealAudio audio = [] {
    RealAudio a;
    OpenMp4 mp4(Fixture("stereo_44100_tone.mp4"));
    a.config = mp4.Config(0);
    for (int s = 0; s < GetSampleCount(mp4.get(), 0); ++s) a.frames.push_back(*mp4.Sample(0, s));
    return a;
  }();
  return audio;
}

class DecodeTest : public ::testing::Test {
 protected:
  void SetUp() override {
    CreateSampleBuffers();
    EmptySampleBuffers();
    run.m_bRunning = 1;
    g_pConvProg = &run;
    task.m_strSource = Fixture("stereo_44100_tone.mp4");
    task.m_strDest = dir.path() + "/out.mp3";
    task.m_nSrcSampleRate = task.m_nSampleRate = 44100;
    task.m_nSrcChannels = task.m_nChannels = 2;
    task.m_nExpectedSamples = 88200;
    run.m_nSamplesTotalAll = 88200;
  }
  void TearDown() override { g_pConvProg = nullptr; }

  // Runs DecodeSource on this thread while another thread drains the ring
  // buffer, as the next stage would.
  std::vector<int> Decode(const std::string& path) {
    task.m_strSource = path;
    task.m_bDecoding = 1;
    std::vector<int> got;
    std::thread drain([&] {
      std::vector<int> block(1 << 16);
      for (;;) {
        const bool decoding = task.m_bDecoding;
        std::uint32_t n = std::min<std::uint32_t>(g_pDecodedSamples->GetReadable(0), block.size());
        if (n == 0) {
          if (!decoding) return;
          platform::Sleep(1);
          continue;
        }
        g_pDecodedSamples->Read(block.data(), n, 0);
        got.insert(got.end(), block.begin(), block.begin() + n);
      }
    });
    result = DecodeSource(&task);
    task.m_bDecoding = 0;
    drain.join();
    return got;
  }

  std::vector<int> DecodeBytes(const std::string& bytes) { return Decode(dir.WriteFile("built.mp4", bytes)); }

  Lines Log() const {
    Lines lines;
    for (const auto& m : window.Messages(platform::RecordedMessage::Kind::Posted))
      if (m.msg == WM_CONV_LOG) lines.emplace_back(m.text, static_cast<int>(m.values.at(0)));
    return lines;
  }

  TempDir dir;
  platform::RecordingTarget window{DecodeRunMessage};
  CRunState run{&window};
  CConversionTask task;
  int result = -1;
};

}  // namespace

// Every file's samples, frame by frame: the first frame is the encoder's
// delay, the last is cut to its duration, so a file gives back exactly the
// samples that were encoded.
TEST_F(DecodeTest, RealFilesGiveTheirExactLength) {
  struct Case {
    const char* file;
    std::uint32_t channels;
    std::size_t samples;  // all channels
  } cases[] = {
      {"stereo_44100_tone.mp4", 2, 44100 * 2},
      {"stereo_44100_tone_faststart.mp4", 2, 44100 * 2},
      {"mono_22050.mp4", 1, 11025},
      {"six_channels_48000.mp4", 6, 24000 * 6},
      {"video_then_audio.mp4", 2, 17640 * 2},
      {"tagged.mp4", 2, 8820 * 2},
      {"one_frame.mp4", 2, 0},  // its only frame counts as delay
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.file);
    EmptySampleBuffers();
    task.m_nSrcChannels = c.channels;
    auto samples = Decode(Fixture(c.file));
    EXPECT_EQ(result, 1);
    EXPECT_EQ(samples.size(), c.samples);
    for (int s : samples) ASSERT_EQ(s & 0xFFFF, 0) << "only 16 significant bits go on";
  }
  EXPECT_TRUE(Log().empty());
  EXPECT_EQ(run.m_bRunning, 1);
}

// The tone comes back at its level and in phase in every channel: the delay
// is cut exactly (a cut off by a frame shifts the phase), and a mono file
// stays mono. The abrupt start and end of the tone splatter in any encoder,
// so the level is measured between them.
TEST_F(DecodeTest, ToneKeepsLevelAndPhase) {
  struct Case {
    const char* file;
    std::uint32_t channels;
    double rate, seconds;
    std::uint32_t lfe;  // the low-frequency channel carries no 1 kHz tone
  } cases[] = {
      {"stereo_44100_tone.mp4", 2, 44100, 1.0, 99},
      {"mono_22050.mp4", 1, 22050, 0.5, 99},
      {"six_channels_48000.mp4", 6, 48000, 0.5, 5},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.file);
    EmptySampleBuffers();
    task.m_nSrcChannels = c.channels;
    auto samples = Decode(Fixture(c.file));
    const auto frames = static_cast<std::size_t>(c.rate * c.seconds);
    ASSERT_EQ(samples.size(), frames * c.channels);
    for (std::uint32_t ch = 0; ch < c.channels; ++ch) {
      if (ch == c.lfe) continue;
      SCOPED_TRACE(ch);
      double peak = 0, errorPower = 0, signalPower = 0;
      for (std::size_t n = 2048; n + 2048 < frames; ++n) {
        double x = samples[n * c.channels + ch] / 2147483648.0;
        double ideal = 0.5 * std::sin(2 * M_PI * 1000.0 * static_cast<double>(n) / c.rate);
        peak = std::max(peak, std::fabs(x));
        errorPower += (x - ideal) * (x - ideal);
        signalPower += ideal * ideal;
      }
      EXPECT_NEAR(20 * std::log10(peak), -6.02, 0.5);
      EXPECT_LT(10 * std::log10(errorPower / signalPower), -20.0) << "out of phase or distorted";
    }
  }
}

// Durations 1024, 600, 1024, ...: the first frame gives nothing, the second
// keeps its last 1200 samples (a delay of 848), the rest pass whole. With a
// time scale other than the output rate every frame is taken whole.
TEST_F(DecodeTest, DurationsCutTheFrontOfTheFirstFrame) {
  const RealAudio& audio = StereoFrames();
  const auto n = static_cast<std::uint32_t>(audio.frames.size());
  atoms::AacFile file{audio.config, 44100, audio.frames, {{1, 1024}, {1, 600}, {n - 2, 1024}}};
  auto cut = DecodeBytes(file.Build());

  file.timeScale = 48000;
  EmptySampleBuffers();
  auto whole = DecodeBytes(file.Build());

  ASSERT_EQ(whole.size(), (n - 1) * 2048u);
  ASSERT_EQ(cut.size(), 1200 + (n - 2) * 2048u);
  EXPECT_TRUE(std::equal(cut.begin(), cut.begin() + 1200, whole.begin() + 848));
  EXPECT_TRUE(std::equal(cut.begin() + 1200, cut.end(), whole.begin() + 2048));
  EXPECT_TRUE(Log().empty());
}

// A duration that contradicts the frames in the first half of the track:
// one warning, and whole frames from then on.
TEST_F(DecodeTest, WrongDurationEarlyTurnsToWholeFrames) {
  const RealAudio& audio = StereoFrames();
  const auto n = static_cast<std::uint32_t>(audio.frames.size());
  auto samples = DecodeBytes(atoms::AacFile{audio.config, 44100, audio.frames, {{2, 1024}, {1, 500}, {n - 3, 100}}}.Build());
  EXPECT_EQ(result, 1);
  EXPECT_EQ(samples.size(), (n - 1) * 2048u);
  EXPECT_EQ(Log(), (Lines{{"Incorrect frame duration.", 1}}));
}

// A damaged third frame ends decoding quietly; the frames before it stay.
TEST_F(DecodeTest, DamagedFrameEndsTheFileQuietly) {
  RealAudio audio = StereoFrames();
  audio.frames[2] = std::string(40, '\xFF');
  const auto n = static_cast<std::uint32_t>(audio.frames.size());
  auto samples = DecodeBytes(atoms::AacFile{audio.config, 44100, audio.frames, {{n, 1024}}}.Build());
  EXPECT_EQ(result, 1);
  EXPECT_EQ(samples.size(), 2048u);
  EXPECT_TRUE(Log().empty());
  EXPECT_EQ(run.m_bRunning, 1);
}

TEST_F(DecodeTest, FailuresAreLoggedAndStopTheRun) {
  const RealAudio& audio = StereoFrames();
  std::string rejected = dir.WriteFile(
      "rejected.mp4", atoms::AacFile{"\x12", 44100, {audio.frames[0], audio.frames[1]}, {{2, 1024}}}.Build());
  struct Case {
    std::string path;
    Line line;
    std::size_t samples;  // written before the failure
  } cases[] = {
      {dir.path() + "/missing.mp4", {"Error : could not open file : " + dir.path() + "/missing.mp4", 2}, 0},
      {Fixture("not_mp4.mp4"), {"Error code: -1", 2}, 0},
      {rejected, {"Error code: -2", 2}, 0},  // FAAD2 parses the config but cannot start on it
      // Frames 1 to 20 decode; frame 21 lies beyond the end of the file.
      {Fixture("damaged_truncated.mp4"), {"Reading from MP4 file failed.", 2}, 20 * 2048},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.path);
    window.Clear();
    EmptySampleBuffers();
    run.m_bRunning = 1;
    EXPECT_EQ(Decode(c.path).size(), c.samples);
    EXPECT_EQ(result, 0);
    EXPECT_EQ(run.m_bRunning, 0);
    EXPECT_EQ(Log(), Lines{c.line});
  }
}

// A source that cannot be opened stops the task before any stage thread runs.
TEST_F(DecodeTest, UnreadableSourceStartsNoThread) {
  struct Case {
    std::string path;
    std::string line;
  } cases[] = {
      {dir.path() + "/missing.mp4", "File Error: No such file or directory"},
      {dir.path(), "File Error: Is a directory"},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.path);
    window.Clear();
    run.m_bRunning = 1;
    // Slots still holding a thread of an earlier task are emptied.
    run.m_pEncoderThread.Set(platform::WorkerThread::Create([] { return 0u; }));
    task.m_strSource = c.path;
    EXPECT_EQ(DecodeTask(&task), 0);
    EXPECT_EQ(g_pCurrentTask.load(), &task);
    EXPECT_EQ(task.m_bDecoding, 0);
    EXPECT_EQ(run.m_bRunning, 0);
    EXPECT_FALSE(run.m_pEncoderThread);
    EXPECT_FALSE(run.m_pConverterThread);
    EXPECT_EQ(Log(), (Lines{{c.line, 2}}));
  }
}

// The next stage runs on its own thread, recorded before it starts, and reads
// the buffer that matches the task.
TEST_F(DecodeTest, TaskStartsTheNextStage) {
  for (int needsConversion : {0, 1}) {
    SCOPED_TRACE(needsConversion);
    EmptySampleBuffers();
    run.m_bRunning = 1;
    task.m_bNeedsConversion = needsConversion;
    task.m_nChannels = needsConversion ? 1 : 2;
    EXPECT_EQ(DecodeTask(&task), 1);
    EXPECT_EQ(task.m_bDecoding, 0);
    if (needsConversion) {
      EXPECT_TRUE(run.m_pConverterThread);
      EXPECT_EQ(task.m_pEncoderInput.load(), g_pConvertedSamples);
    } else {
      EXPECT_TRUE(run.m_pEncoderThread);
      EXPECT_FALSE(run.m_pConverterThread);
      EXPECT_EQ(task.m_pEncoderInput.load(), g_pDecodedSamples);
    }
    run.m_bRunning = 0;
    run.WaitForThreads();
    run.m_pConverterThread.Clear();
    run.m_pEncoderThread.Clear();
  }
}

// With the ring buffer full and nobody reading, cancelling the run releases
// the decoder from its wait at once.
TEST_F(DecodeTest, CancelWhileTheBufferIsFull) {
  std::vector<int> fill(kSampleBufferCapacity - 1);
  ASSERT_EQ(g_pDecodedSamples->Write(fill.data(), static_cast<std::uint32_t>(fill.size())), fill.size());
  task.m_strSource = Fixture("stereo_44100_tone.mp4");
  std::atomic<bool> returned{false};
  std::chrono::steady_clock::time_point end;
  std::thread decoder([&] {
    result = DecodeSource(&task);
    end = std::chrono::steady_clock::now();
    returned = true;
  });
  platform::Sleep(100);
  EXPECT_FALSE(returned);
  auto cancel = std::chrono::steady_clock::now();
  run.m_bRunning = 0;
  decoder.join();
  EXPECT_LT(std::chrono::duration_cast<std::chrono::milliseconds>(end - cancel).count(), 200);
  EXPECT_EQ(result, 1);
  EXPECT_TRUE(Log().empty());
}

// Frames too large for the conversion buffer go through in pieces, in order.
TEST_F(DecodeTest, LargeFramesGoThroughInPieces) {
  std::vector<double> frame(40000);
  for (std::size_t i = 0; i < frame.size(); ++i) frame[i] = (static_cast<double>(i) - 20000.0) / 20000.0;
  std::vector<int> expected(frame.size());
  DoublesToInt32(frame.data(), expected.data(), frame.size());
  MaskSamples(expected.data(), expected.size());

  std::vector<int> buffer(kDecodeBufferSamples);
  ASSERT_TRUE(WriteDecodedSamples(frame.data(), static_cast<std::uint32_t>(frame.size()), buffer.data(),
                                  kDecodeBufferSamples, run));
  std::vector<int> got(frame.size());
  ASSERT_EQ(g_pDecodedSamples->Read(got.data(), static_cast<std::uint32_t>(got.size()), 0), got.size());
  EXPECT_EQ(got, expected);
  EXPECT_EQ(g_pDecodedSamples->GetReadable(0), 0u);
}

TEST(SampleConvertTest, DoublesSaturateAndRoundToEven) {
  const double lsb = 1.0 / 2147483648.0;
  const double inf = std::numeric_limits<double>::infinity();
  struct {
    double in;
    int out;
  } cases[] = {
      {0.0, 0},          {0.5, 1 << 30},           {-0.5, -(1 << 30)},
      {1.0, INT_MAX},    {1.7, INT_MAX},           {inf, INT_MAX},
      {-1.0, INT_MIN},   {-1.7, INT_MIN},          {-inf, INT_MIN},
      {0.5 * lsb, 0},    {1.5 * lsb, 2},           {2.5 * lsb, 2},
      {-1.5 * lsb, -2},  {-2.5 * lsb, -2},         {2147483646.5 * lsb, 2147483646},
      {std::nan(""), 0},
  };
  for (auto c : cases) {
    int out = 12345;
    DoublesToInt32(&c.in, &out, 1);
    EXPECT_EQ(out, c.out) << c.in;
  }
}

TEST(SampleConvertTest, MaskKeepsSixteenBits) {
  int samples[] = {INT_MAX, -1, 0xFFFF, INT_MIN, 0x12345678};
  MaskSamples(samples, 5);
  EXPECT_EQ(samples[0], 0x7FFF0000);
  EXPECT_EQ(samples[1], -65536);
  EXPECT_EQ(samples[2], 0);
  EXPECT_EQ(samples[3], INT_MIN);
  EXPECT_EQ(samples[4], 0x12340000);
}
