// The progress window around real runs: the decoder, the conversion stage and
// the encoder module on the committed test files.
#include <gtest/gtest.h>

#include <QProgressBar>
#include <QTreeWidget>
#include <filesystem>

#include "engine/audio_probe.h"
#include "engine/encoder_settings.h"
#include "engine/ring_buffer.h"
#include "platform/core/message_box.h"
#include "progress/conv_prog_template.h"
#include "tests/encoder/mp3_probe.h"
#include "tests/progress/progress_test_support.h"
#include "tests/support/temp_dir.h"
#include "tests/support/ui_test_support.h"

using Line = std::pair<std::string, int>;

namespace {

class RealRun : public ::testing::Test {
 protected:
  void SetUp() override {
    if (!std::filesystem::exists(TestDataDir() + "/long_stereo_44100.mp4"))
      GTEST_SKIP() << "no test files in " << TestDataDir();
    CreateSampleBuffers();
    g_bSameAsSrc = 0;
    g_strDesDir = dir.path() + "/";
    g_nFreqIndex = 0;
    g_nLameChannel = CHANNEL_AUTO;
    g_nLameBitsIndex = 11;
  }
  // The task the main window would build for a test file.
  static CConversionTask Task(const std::string& name) {
    AudioProbe probe = ProbeAudioSource(TestDataDir() + "/" + name);
    EXPECT_FALSE(probe.error) << name << ": " << probe.errorText;
    return BuildTask(TestDataDir() + "/", name, probe.sampleRate, probe.channels,
                     probe.totalSamples, probe.flags, probe.tags);
  }
  std::unique_ptr<CConvProg> Open(const std::vector<std::string>& names) {
    auto dlg = std::make_unique<CConvProg>();
    for (const auto& name : names) {
      dlg->m_tasks.push_back(Task(name));
      dlg->m_nSamplesTotalAll += dlg->m_tasks.back().m_nExpectedSamples;
    }
    dlg->show();
    return dlg;
  }
  static bool Finished(const CConvProg& dlg) { return dlg.windowTitle() == "Finished Converting"; }
  // Waits until the current file is between the given percentages.
  static bool TaskAt(const CConvProg& dlg, double from) {
    return RunUntil([&] {
      return platform::FindControl<QProgressBar>(&dlg, IDC_CONV_PROGRESS_TASK)->value() >= from;
    });
  }

  TempDir dir;
  TestTaskbar taskbar;
};

}  // namespace

TEST_F(RealRun, TwoFilesEndInTheFinishedState) {
  // The second needs the conversion stage: six channels become two.
  auto dlg = Open({"stereo_44100_tone.mp4", "six_channels_48000.mp4"});
  ASSERT_TRUE(RunUntil([&] { return Finished(*dlg); }));
  SaveScreenshot(dlg.get(), "progress-finished");
  auto log = LogLines(*dlg);
  std::vector<Line> status;
  for (const auto& l : log)
    if (l.first.rfind("Converting status:", 0) == 0) status.push_back(l);
  EXPECT_EQ(status, (std::vector<Line>{{"Converting status: OK.", 0}, {"Converting status: OK.", 0}}));
  ASSERT_GE(log.size(), 3u);
  EXPECT_EQ(log[log.size() - 2].first.rfind("Total time elapsed ", 0), 0u);
  EXPECT_EQ(log.back(), Line("Finished converting, all done ^_^", 0));
  for (const auto& l : log) EXPECT_EQ(l.second, 0) << l.first;
  EXPECT_EQ(Text(*dlg, IDC_CONV_DONE_TASK), "100.00%");
  EXPECT_EQ(Text(*dlg, IDC_CONV_DONE_ALL), "100.00%");
  EXPECT_EQ(Text(*dlg, IDC_CONV_PAUSE), "Open Dir");
  EXPECT_EQ(Text(*dlg, IDC_CONV_CANCEL), "Finish");
  EXPECT_EQ(Text(*dlg, IDC_CONV_DESTINATION),
            QString::fromStdString(dir.path() + "/six_channels_48000.mp3"));

  Mp3Contents first = ReadMp3(dir.path() + "/stereo_44100_tone.mp3");
  Mp3Contents second = ReadMp3(dir.path() + "/six_channels_48000.mp3");
  EXPECT_EQ(first.decodedLength, 44100);
  EXPECT_EQ(second.channels, 2);
  EXPECT_EQ(second.decodedLength, 24000);
  Click(*dlg, IDC_CONV_CANCEL);
  EXPECT_FALSE(dlg->isVisible());
}

TEST_F(RealRun, DamagedSecondFileStopsTheRun) {
  auto dlg = Open({"stereo_44100_tone.mp4", "damaged_truncated.mp4", "tagged.mp4"});
  ASSERT_TRUE(RunUntil([&] {
    auto log = LogLines(*dlg);
    return !log.empty() && log.back() == Line("Converting status: ERROR.", 2);
  }));
  RunUntil([&] { return ThreadsEnded(*dlg); });
  SaveScreenshot(dlg.get(), "progress-stopped");
  auto log = LogLines(*dlg);
  int errors = 0;
  for (const auto& l : log) {
    EXPECT_EQ(l.first.find("tagged.mp4"), std::string::npos);  // the third never starts
    if (l.second == 2) ++errors;
  }
  EXPECT_GE(errors, 2);  // the reason and the status
  QTreeWidget* list = dlg->LogList();
  EXPECT_EQ(list->topLevelItem(list->topLevelItemCount() - 1)->foreground(3).color(),
            QColor(255, 0, 0));
  EXPECT_EQ(taskbar.State(), platform::TBPF_ERROR);
  EXPECT_NE(dlg->windowTitle(), "Finished Converting");
  EXPECT_EQ(Text(*dlg, IDC_CONV_CANCEL), "Cancel");
  MessageBoxAnswers answers(platform::IDNO);
  Click(*dlg, IDC_CONV_CANCEL);  // closes without asking
  EXPECT_TRUE(answers.Asked().empty());
  EXPECT_FALSE(dlg->isVisible());
}

TEST_F(RealRun, PauseHoldsTheRunAndResumeGoesOn) {
  auto dlg = Open({"long_stereo_44100.mp4"});
  ASSERT_TRUE(TaskAt(*dlg, 5));
  SaveScreenshot(dlg.get(), "progress-running");
  Click(*dlg, IDC_CONV_PAUSE);
  RunFor(250);  // a report under way arrives
  const int count = CConvProg::ProgressMessageCount();
  const std::uint64_t samples = dlg->m_nSamplesDoneAll;
  RunFor(400);
  EXPECT_EQ(CConvProg::ProgressMessageCount(), count);
  EXPECT_EQ(dlg->m_nSamplesDoneAll, samples);
  SaveScreenshot(dlg.get(), "progress-paused");

  // Cancel, then No: still paused.
  {
    MessageBoxAnswers no(platform::IDNO);
    Click(*dlg, IDC_CONV_CANCEL);
    EXPECT_EQ(no.Asked().size(), 1u);
  }
  EXPECT_EQ(dlg->m_bPaused, 1);
  EXPECT_EQ(Text(*dlg, IDC_CONV_PAUSE), "Resume");

  Click(*dlg, IDC_CONV_PAUSE);
  ASSERT_TRUE(RunUntil([&] { return Finished(*dlg); }));
  EXPECT_GT(CConvProg::ProgressMessageCount(), count);
  EXPECT_EQ(ReadMp3(dir.path() + "/long_stereo_44100.mp3").decodedLength, 60 * 44100);
}

// Cancelled halfway: the window closes once every thread has ended, and the
// file written so far is a proper MP3 holding the first part of the audio.
TEST_F(RealRun, CancelLeavesNoThreadAndADecodablePartialFile) {
  auto dlg = Open({"long_stereo_44100.mp4", "stereo_44100_tone.mp4"});
  ASSERT_TRUE(TaskAt(*dlg, 10));
  MessageBoxAnswers yes(platform::IDYES);
  Click(*dlg, IDC_CONV_CANCEL);
  EXPECT_FALSE(dlg->isVisible());
  EXPECT_TRUE(ThreadsEnded(*dlg));
  Mp3Contents partial = ReadMp3(dir.path() + "/long_stereo_44100.mp3");
  EXPECT_TRUE(partial.readable);
  EXPECT_EQ(partial.infoId, "Info");
  EXPECT_GT(partial.decodedLength, 44100);
  EXPECT_LT(partial.decodedLength, 60 * 44100);
  EXPECT_FALSE(std::filesystem::exists(dir.path() + "/stereo_44100_tone.mp3"));
}
