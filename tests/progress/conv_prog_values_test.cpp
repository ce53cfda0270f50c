// The value texts of the progress window, fed directly with progress
// messages while the run's stage is held.
#include <gtest/gtest.h>

#include <QProgressBar>
#include <atomic>

#include "engine/encoder_settings.h"
#include "engine/run_messages.h"
#include "platform/core/message_box.h"
#include "platform/core/ticks.h"
#include "progress/conv_prog_template.h"
#include "tests/progress/progress_test_support.h"
#include "tests/support/ui_test_support.h"

namespace {

class HeldRun : public ::testing::Test {
 protected:
  void SetUp() override {
    dlg.m_tasks.push_back(MakeTask("a.m4a", "/tmp/korvane-never-written.mp3", 10));
    dlg.m_nSamplesTotalAll = dlg.m_tasks[0].m_nExpectedSamples;
    dlg.SetDecodeEntry([this](CConversionTask*) {
      entered = true;
      while (dlg.m_bRunning) platform::Sleep(2);
      return 0;
    });
    dlg.show();
    ASSERT_TRUE(RunUntil([&] { return entered.load(); }));
    RunFor(20);  // the initial report has arrived
  }
  void TearDown() override {
    MessageBoxAnswers yes(platform::IDYES);
    Click(dlg, IDC_CONV_CANCEL);
  }
  void Send(float task, float all) { SendConvProgress(dlg.Window(), task, all); }
  // Sends until just before the next tenth message.
  void SendUpToTheTenth(float task, float all) {
    while ((CConvProg::ProgressMessageCount() + 1) % 10 != 0) Send(task, all);
  }
  // Task and run started the given seconds ago.
  void StartedAgo(double seconds) {
    const auto ago = static_cast<std::uint32_t>(seconds * 1000);
    dlg.m_dwTaskStartTick = platform::GetTickCount() - ago;
    dlg.m_dwRunStartTick = platform::GetTickCount() - ago;
  }

  TestTaskbar taskbar;
  CConvProg dlg;
  std::atomic<bool> entered{false};
};

}  // namespace

TEST_F(HeldRun, FirstReportShowsZeroAndLeavesTheTimes) {
  EXPECT_EQ(Text(dlg, IDC_CONV_DONE_TASK), " 0.00%");
  EXPECT_EQ(Text(dlg, IDC_CONV_DONE_ALL), " 0.00%");
  EXPECT_EQ(Text(dlg, IDC_CONV_ELAPSED_TASK), "00:00:00");
  EXPECT_EQ(Text(dlg, IDC_CONV_SPEED_TASK), "0.00x");
}

TEST_F(HeldRun, ValuesAboveHundredShowAFullBar) {
  Send(150, 250);
  EXPECT_EQ(Text(dlg, IDC_CONV_DONE_TASK), "100.00%");
  EXPECT_EQ(Text(dlg, IDC_CONV_DONE_ALL), "100.00%");
  EXPECT_EQ(platform::FindControl<QProgressBar>(&dlg, IDC_CONV_PROGRESS_TASK)->value(), 100);
  EXPECT_EQ(platform::FindControl<QProgressBar>(&dlg, IDC_CONV_PROGRESS_ALL)->value(), 100);
}

// Times, remaining times, speeds and the taskbar change on every tenth message only.
TEST_F(HeldRun, EveryTenthMessageUpdatesTimesAndSpeeds) {
  StartedAgo(3725.9);
  dlg.m_fSecondsDoneTask = 2.5f * 3725.9f;
  dlg.m_fSecondsDoneAll = 2.5f * 3725.9f;
  SendUpToTheTenth(50, 25);
  EXPECT_EQ(Text(dlg, IDC_CONV_DONE_TASK), "50.00%");
  EXPECT_EQ(Text(dlg, IDC_CONV_ELAPSED_TASK), "00:00:00");
  Send(50, 25);
  EXPECT_EQ(Text(dlg, IDC_CONV_ELAPSED_TASK), "01:02:05");
  EXPECT_EQ(Text(dlg, IDC_CONV_ELAPSED_ALL), "01:02:05");
  EXPECT_EQ(Text(dlg, IDC_CONV_ETA_TASK), "01:02:05");  // half done: as long again
  EXPECT_EQ(Text(dlg, IDC_CONV_ETA_ALL), "03:06:17");   // a quarter done: three times as long
  EXPECT_EQ(Text(dlg, IDC_CONV_SPEED_TASK), "  2.50x");
  EXPECT_EQ(Text(dlg, IDC_CONV_SPEED_ALL), "  2.50x");
  EXPECT_DOUBLE_EQ(taskbar.Progress(), 0.25);
}

TEST_F(HeldRun, ZeroPercentLeavesTheRemainingTime) {
  StartedAgo(5);
  SendUpToTheTenth(10, 10);
  Send(10, 10);
  ASSERT_EQ(Text(dlg, IDC_CONV_ETA_TASK), "00:00:45");
  StartedAgo(65);
  SendUpToTheTenth(0, 10);
  Send(0, 10);
  EXPECT_EQ(Text(dlg, IDC_CONV_ELAPSED_TASK), "00:01:05");
  EXPECT_EQ(Text(dlg, IDC_CONV_ETA_TASK), "00:00:45");
}

TEST_F(HeldRun, ReportsAfterTheRunAreOnlyFreed) {
  dlg.m_bRunning = 0;
  const int count = CConvProg::ProgressMessageCount();
  Send(70, 70);
  EXPECT_EQ(CConvProg::ProgressMessageCount(), count);
  EXPECT_EQ(Text(dlg, IDC_CONV_DONE_TASK), " 0.00%");
}
