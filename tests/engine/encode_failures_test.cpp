// The encode stage's failures, cancel and pause, on the real module.
#include <gtest/gtest.h>

#include <mutex>

#include "engine/lame_loader.h"
#include "engine/run_messages.h"
#include "platform/core/file_system.h"
#include "platform/core/message_box.h"
#include "platform/core/ticks.h"
#include "tests/encoder/mp3_probe.h"
#include "tests/engine/stage_harness.h"
#include "tests/support/temp_dir.h"

namespace {

using Line = std::pair<std::string, int>;
using Lines = std::vector<Line>;

// Records the message boxes the encoder thread shows.
class BoxRecorder {
 public:
  BoxRecorder() {
    platform::SetMessageBoxHook([this](const std::string& text, unsigned flags) {
      std::lock_guard lock(m_mutex);
      m_boxes.emplace_back(text, flags);
      return platform::IDOK;
    });
  }
  ~BoxRecorder() { platform::SetMessageBoxHook({}); }
  std::vector<std::pair<std::string, unsigned>> Boxes() {
    std::lock_guard lock(m_mutex);
    return m_boxes;
  }

 private:
  std::mutex m_mutex;
  std::vector<std::pair<std::string, unsigned>> m_boxes;
};

struct ModulePathScope {
  explicit ModulePathScope(const std::string& path) { SetLameModulePath(path); }
  ~ModulePathScope() { SetLameModulePath(""); }
};

const ToneSource kStereo{44100, 2, 44100};

TEST(EncodeFailures, EncoderModuleProblems) {
  struct Case {
    const char* module;  // below the executables' folder
    const char* logLine;
    const char* box;
  };
  const Case cases[] = {
      {"test-modules/missing/lame_enc.so", "Error loading lame_enc.dll", "Error Loading Lame_enc.dll"},
      {"test-modules/lame_enc_no_vbr_header.so", "Unable to get LAME interfaces",
       "Unable to Get LAME Interfaces"},
      // Without "beWriteInfoTag" the other header call does the same job.
      {"test-modules/lame_enc_no_info_tag.so", nullptr, nullptr},
  };
  SettingsScope settings;
  TempDir dir;
  for (const auto& c : cases) {
    SCOPED_TRACE(c.module);
    ModulePathScope module(platform::ExecutableFolder() + c.module);
    BoxRecorder boxes;
    StageRun stages;
    CConversionTask task = stages.MakeTask(kStereo, dir.path() + "/", "song.mp4");
    platform::DeleteFile(task.m_strDest);
    stages.Run(&task, kStereo);
    if (c.logLine) {
      EXPECT_EQ(stages.Log(), (Lines{{c.logLine, 2}, {"Fail to write tag!" + task.m_strDest, 2}}));
      ASSERT_EQ(boxes.Boxes().size(), 1u);
      EXPECT_EQ(boxes.Boxes()[0].first, c.box);
      EXPECT_TRUE(boxes.Boxes()[0].second & platform::MB_ICONERROR);
      EXPECT_EQ(stages.run.m_bRunning.load(), 0);
      EXPECT_FALSE(platform::PathFileExists(task.m_strDest));
    } else {
      EXPECT_TRUE(stages.Log().empty());
      EXPECT_TRUE(boxes.Boxes().empty());
      Mp3Contents mp3 = ReadMp3(task.m_strDest);
      EXPECT_EQ(mp3.infoId, "Info");
      EXPECT_EQ(mp3.decodedLength, 44100);
    }
  }
}

// A destination that cannot be made, and one that someone else made after
// the name was chosen: neither is written, and the tag step leaves it alone.
TEST(EncodeFailures, DestinationCannotBeCreated) {
  SettingsScope settings;
  TempDir dir;
  for (bool exists : {false, true}) {
    SCOPED_TRACE(exists ? "taken" : "no folder");
    StageRun stages;
    std::string folder = dir.path() + (exists ? "/" : "/missing/");
    CConversionTask task = stages.MakeTask(kStereo, folder, "a%d.mp4");
    if (exists) dir.WriteFile("a%d.mp3", "someone else's");
    stages.Run(&task, kStereo);
    EXPECT_EQ(stages.Log(), (Lines{{"Error creating file " + task.m_strDest, 2},
                                   {"Fail to write tag!" + task.m_strDest, 2}}));
    EXPECT_EQ(stages.run.m_bRunning.load(), 0);
    if (exists) {
      EXPECT_EQ(dir.ReadFile("a%d.mp3"), "someone else's");
    }
  }
}

// 20 chunks of 1152 stereo frames, then the producer holds.
const ToneSource kHeld{44100, 2, 88200, 0.5, 23040};
constexpr std::uint64_t kHeldSamples = 46080;

TEST(EncodeFailures, CancelLeavesAShorterCompleteFile) {
  SettingsScope settings;
  TempDir dir;
  StageRun stages;
  CConversionTask task = stages.MakeTask(kHeld, dir.path() + "/", "cancel.mp4");
  stages.Start(&task, kHeld);
  ASSERT_TRUE(WaitUntil([&] { return stages.run.m_nSamplesDoneTask == kHeldSamples; }));
  stages.run.m_bRunning = 0;
  stages.Wait();
  EXPECT_TRUE(stages.Log().empty());
  Mp3Contents mp3 = ReadMp3(task.m_strDest);
  EXPECT_EQ(mp3.infoId, "Info");
  EXPECT_EQ(mp3.decodedLength, 23040);
  EXPECT_NEAR(ToneAmplitude(mp3, 0, 1000.0), 0.5, 0.06);
}

TEST(EncodeFailures, PauseStopsEncodingAndProgressUntilResumed) {
  SettingsScope settings;
  TempDir dir;
  StageRun stages;
  CConversionTask task = stages.MakeTask(kHeld, dir.path() + "/", "pause.mp4");
  stages.Start(&task, kHeld);
  ASSERT_TRUE(WaitUntil([&] { return stages.run.m_nSamplesDoneTask == kHeldSamples; }));
  stages.run.m_bPaused = 1;
  stages.Release();
  platform::Sleep(250);  // a pass under way finishes meanwhile
  const auto posted = stages.Progress(platform::RecordedMessage::Kind::Posted).size();
  const auto done = stages.run.m_nSamplesDoneTask.load();
  platform::Sleep(350);
  EXPECT_EQ(stages.run.m_nSamplesDoneTask.load(), done);
  EXPECT_LE(done, kHeldSamples + 2304);
  EXPECT_EQ(stages.Progress(platform::RecordedMessage::Kind::Posted).size(), posted);
  stages.run.m_bPaused = 0;
  stages.Wait();
  EXPECT_TRUE(stages.Log().empty());
  EXPECT_EQ(stages.run.m_nSamplesDoneTask.load(), 88200u * 2);
  EXPECT_EQ(ReadMp3(task.m_strDest).decodedLength, 88200);
}

// Cancel while the encoder is paused and the conversion stage's output
// effect waits for room: every thread ends promptly.
TEST(EncodeFailures, CancelWhileConversionWaitsForRoom) {
  SettingsScope settings;
  TempDir dir;
  g_nLameChannel = CHANNEL_JOINT_STEREO;
  g_nFreqIndex = 8;  // 44100 Hz: four times the samples of the source
  const ToneSource source{22050, 1, 22050 * 20};
  StageRun stages;
  CConversionTask task = stages.MakeTask(source, dir.path() + "/", "full.mp4");
  ASSERT_EQ(task.m_bNeedsConversion, 1);
  stages.run.m_bPaused = 1;
  stages.Start(&task, source);
  ASSERT_TRUE(WaitUntil([] { return g_pConvertedSamples->GetWritable() < 65536; }));
  platform::Sleep(20);
  const std::uint32_t start = platform::GetTickCount();
  stages.run.m_bRunning = 0;
  stages.Wait();
  EXPECT_LT(platform::GetTickCount() - start, 1000u);
  EXPECT_EQ(task.m_bConverting.load(), 0);
  EXPECT_TRUE(stages.Log().empty());
  Mp3Contents mp3 = ReadMp3(task.m_strDest);  // flushed and closed, nothing encoded
  EXPECT_EQ(mp3.infoId, "Info");
  EXPECT_EQ(mp3.decodedLength, 0);
}

// A producer that delivers nothing, with and without the conversion stage:
// the file holds only the flushed encoder and its information header.
TEST(EncodeFailures, NothingToEncode) {
  SettingsScope settings;
  TempDir dir;
  for (std::uint32_t rate : {44100u, 22050u}) {
    SCOPED_TRACE(rate);
    const ToneSource empty{rate, 2, 0};
    StageRun stages;
    g_nFreqIndex = 8;  // 44100 Hz
    CConversionTask task = stages.MakeTask(empty, dir.path() + "/", std::to_string(rate) + ".mp4");
    EXPECT_EQ(task.m_bNeedsConversion, rate != 44100u);
    stages.Run(&task, empty);
    EXPECT_TRUE(stages.Log().empty());
    Mp3Contents mp3 = ReadMp3(task.m_strDest);
    EXPECT_EQ(mp3.infoId, "Info");
    EXPECT_EQ(mp3.decodedLength, 0);
    EXPECT_EQ(stages.run.m_nSamplesDoneTask.load(), 0u);
  }
}

}  // namespace
