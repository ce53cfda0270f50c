// The progress window around runs whose stages are stand-ins with controlled
// timing; conv_prog_real_test.cpp runs the real stages on real files.
#include <gtest/gtest.h>

#include <QApplication>
#include <QKeyEvent>
#include <QLabel>
#include <QProgressBar>
#include <QTime>
#include <QTimer>
#include <QTreeWidget>
#include <atomic>

#include "engine/encoder_settings.h"
#include "platform/core/message_box.h"
#include "platform/core/ticks.h"
#include "platform/ui/profile.h"
#include "platform/ui/shell.h"
#include "progress/conv_prog_template.h"
#include "tests/progress/progress_test_support.h"
#include "tests/support/temp_dir.h"
#include "tests/support/ui_test_support.h"

using Line = std::pair<std::string, int>;
using platform::IDNO;
using platform::IDYES;

namespace {

const std::string kSep(99, '-');

class ConvProgTest : public ::testing::Test {
 protected:
  void SetUp() override {
    g_bSameAsSrc = 0;
    g_strDesDir = dir.path() + "/";
  }
  // A window with tasks of the given sources (destinations in the temp folder).
  std::unique_ptr<CConvProg> Open(const std::vector<std::string>& sources, const FakeStages& stages,
                                  double seconds = 1) {
    auto dlg = std::make_unique<CConvProg>();
    for (const auto& s : sources) {
      dlg->m_tasks.push_back(MakeTask(s, dir.path() + "/" + s + ".mp3", seconds));
      dlg->m_nSamplesTotalAll += dlg->m_tasks.back().m_nExpectedSamples;
    }
    dlg->SetDecodeEntry(stages.Entry());
    dlg->show();
    return dlg;
  }
  // Waits until the encoder has sent a few progress reports.
  static bool Progressing(int reports = 3) {
    const int start = CConvProg::ProgressMessageCount();
    return RunUntil([&] { return CConvProg::ProgressMessageCount() >= start + reports; });
  }

  TempDir dir;
  TestTaskbar taskbar;
};

}  // namespace

TEST_F(ConvProgTest, TwoFilesEndInTheFinishedState) {
  auto dlg = Open({"a.m4a", "b.m4a"}, FakeStages{});
  EXPECT_EQ(Text(*dlg, IDC_CONV_PAUSE), "Pause");
  EXPECT_EQ(taskbar.State(), platform::TBPF_NORMAL);
  ASSERT_TRUE(RunUntil([&] { return dlg->windowTitle() == "Finished Converting"; }));
  SaveScreenshot(dlg.get(), "progress-finished-fake");

  auto log = LogLines(*dlg);
  ASSERT_EQ(log.size(), 15u);
  const std::string b = dir.path() + "/b.m4a.mp3";
  EXPECT_EQ(log[0], Line(kSep, 0));
  EXPECT_EQ(log[1], Line("Start a new converting task.", 0));
  EXPECT_EQ(log[2], Line("Source:  a.m4a.", 0));
  EXPECT_EQ(log[3], Line("Destination: " + dir.path() + "/a.m4a.mp3.", 0));
  EXPECT_EQ(log[4].first.rfind("Time elapsed ", 0), 0u);
  EXPECT_EQ(log[5], Line("Converting status: OK.", 0));
  EXPECT_EQ(log[9], Line("Destination: " + b + ".", 0));
  EXPECT_EQ(log[11], Line("Converting status: OK.", 0));
  EXPECT_EQ(log[12], Line(kSep, 0));
  EXPECT_EQ(log[13].first.rfind("Total time elapsed ", 0), 0u);
  EXPECT_NE(log[13].first.find("overall speed "), std::string::npos);
  EXPECT_EQ(log[14], Line("Finished converting, all done ^_^", 0));

  EXPECT_EQ(Text(*dlg, IDC_CONV_DONE_TASK), "100.00%");
  EXPECT_EQ(Text(*dlg, IDC_CONV_DONE_ALL), "100.00%");
  EXPECT_EQ(Text(*dlg, IDC_CONV_ETA_TASK), "00:00:00");
  EXPECT_EQ(Text(*dlg, IDC_CONV_ETA_ALL), "00:00:00");
  EXPECT_EQ(platform::FindControl<QProgressBar>(dlg.get(), IDC_CONV_PROGRESS_ALL)->value(), 100);
  EXPECT_EQ(Text(*dlg, IDC_CONV_SOURCE), "b.m4a");
  EXPECT_EQ(Text(*dlg, IDC_CONV_DESTINATION), QString::fromStdString(b));
  EXPECT_EQ(Text(*dlg, IDC_CONV_PAUSE), "Open Dir");
  EXPECT_TRUE(Enabled(*dlg, IDC_CONV_PAUSE));
  EXPECT_EQ(Text(*dlg, IDC_CONV_CANCEL), "Finish");
  EXPECT_DOUBLE_EQ(taskbar.Progress(), 1.0);

  // "Open Dir" opens the output folder and stays; "Finish" closes.
  QStringList opened;
  platform::SetShellOpenHook([&](const QString& target) {
    opened << target;
    return 42;
  });
  Click(*dlg, IDC_CONV_PAUSE);
  platform::SetShellOpenHook(nullptr);
  EXPECT_EQ(opened, QStringList{QString::fromStdString(g_strDesDir)});
  EXPECT_TRUE(dlg->isVisible());
  MessageBoxAnswers answers(IDYES);
  Click(*dlg, IDC_CONV_CANCEL);
  EXPECT_FALSE(dlg->isVisible());
  EXPECT_TRUE(answers.Asked().empty());
  EXPECT_TRUE(ThreadsEnded(*dlg));
}

TEST_F(ConvProgTest, DamagedSecondFileStopsTheRunInRed) {
  FakeStages stages;
  stages.failing = {"bad.m4a"};
  auto dlg = Open({"a.m4a", "bad.m4a", "c.m4a"}, stages);
  ASSERT_TRUE(RunUntil([&] { return LogLines(*dlg).size() >= 12 && ThreadsEnded(*dlg); }));
  RunFor(50);
  SaveScreenshot(dlg.get(), "progress-stopped-fake");
  auto log = LogLines(*dlg);
  ASSERT_EQ(log.size(), 12u);  // the third task never starts
  EXPECT_EQ(log[10], Line("Error : could not open mp4 file : bad.m4a", 2));
  EXPECT_EQ(log[11], Line("Converting status: ERROR.", 2));
  EXPECT_EQ(dlg->windowTitle(), "Converting 2/3");
  EXPECT_EQ(taskbar.State(), platform::TBPF_ERROR);

  // Severity colours the text; every other row is tinted.
  QTreeWidget* list = dlg->LogList();
  EXPECT_EQ(list->topLevelItem(10)->foreground(3).color(), QColor(255, 0, 0));
  EXPECT_EQ(list->topLevelItem(11)->foreground(3).color(), QColor(255, 0, 0));
  EXPECT_EQ(list->topLevelItem(1)->foreground(3).color(), QColor(0, 0, 255));
  EXPECT_EQ(list->topLevelItem(1)->background(2).color(), QColor(243, 245, 252));
  EXPECT_EQ(list->topLevelItem(2)->background(2).color(), QColor(Qt::white));

  // Stopped: Cancel closes without asking.
  MessageBoxAnswers answers(IDNO);
  Click(*dlg, IDC_CONV_CANCEL);
  EXPECT_TRUE(answers.Asked().empty());
  EXPECT_FALSE(dlg->isVisible());
}

TEST_F(ConvProgTest, PauseStopsTheProgressAndResumeContinues) {
  FakeStages stages;
  stages.steps = 400;
  auto dlg = Open({"long.m4a"}, stages, 60);
  ASSERT_TRUE(Progressing());
  SaveScreenshot(dlg.get(), "progress-running-fake");
  Click(*dlg, IDC_CONV_PAUSE);
  EXPECT_EQ(Text(*dlg, IDC_CONV_PAUSE), "Resume");
  EXPECT_EQ(taskbar.State(), platform::TBPF_PAUSED);
  RunFor(100);  // what was under way arrives
  const int paused = CConvProg::ProgressMessageCount();
  const QString done = Text(*dlg, IDC_CONV_DONE_TASK);
  RunFor(300);
  EXPECT_EQ(CConvProg::ProgressMessageCount(), paused);
  EXPECT_EQ(Text(*dlg, IDC_CONV_DONE_TASK), done);
  SaveScreenshot(dlg.get(), "progress-paused-fake");

  Click(*dlg, IDC_CONV_PAUSE);
  EXPECT_EQ(Text(*dlg, IDC_CONV_PAUSE), "Pause");
  EXPECT_EQ(taskbar.State(), platform::TBPF_NORMAL);
  EXPECT_TRUE(Progressing());
  EXPECT_NE(Text(*dlg, IDC_CONV_DONE_TASK), done);

  MessageBoxAnswers yes(IDYES);
  Click(*dlg, IDC_CONV_CANCEL);
  EXPECT_TRUE(ThreadsEnded(*dlg));
}

TEST_F(ConvProgTest, CancelThenNoWhilePausedStaysPaused) {
  FakeStages stages;
  stages.steps = 400;
  auto dlg = Open({"long.m4a"}, stages, 60);
  ASSERT_TRUE(Progressing());
  Click(*dlg, IDC_CONV_PAUSE);
  {
    // While the question is open the run is held.
    std::atomic<int> pausedWhileAsking{-1};
    MessageBoxAnswers no([&](const QString&, unsigned) {
      pausedWhileAsking = dlg->m_bPaused.load();
      return IDNO;
    });
    Click(*dlg, IDC_CONV_CANCEL);
    ASSERT_EQ(no.Asked().size(), 1u);
    EXPECT_EQ(no.Asked()[0].text, "Do You Want to Cancel?");
    EXPECT_EQ(no.Asked()[0].flags, platform::MB_YESNO);
    EXPECT_EQ(pausedWhileAsking, 1);
  }
  EXPECT_TRUE(dlg->isVisible());
  EXPECT_EQ(dlg->m_bPaused, 1);
  EXPECT_EQ(dlg->m_bRunning, 1);
  EXPECT_EQ(Text(*dlg, IDC_CONV_PAUSE), "Resume");

  // Not paused before: No lets the run go on.
  Click(*dlg, IDC_CONV_PAUSE);
  {
    MessageBoxAnswers no(IDNO);
    Click(*dlg, IDC_CONV_CANCEL);
  }
  EXPECT_EQ(dlg->m_bPaused, 0);
  EXPECT_TRUE(Progressing());
  MessageBoxAnswers yes(IDYES);
  Click(*dlg, IDC_CONV_CANCEL);
}

TEST_F(ConvProgTest, CancelThenYesClosesWithNoThreadLeft) {
  FakeStages stages;
  stages.steps = 400;
  auto dlg = Open({"long.m4a", "next.m4a"}, stages, 60);
  ASSERT_TRUE(Progressing());
  MessageBoxAnswers yes(IDYES);
  Click(*dlg, IDC_CONV_CANCEL);
  EXPECT_FALSE(dlg->isVisible());
  EXPECT_TRUE(ThreadsEnded(*dlg));
  EXPECT_EQ(dlg->windowTitle(), "Aborting, Please Wait...");
  EXPECT_FALSE(Enabled(*dlg, IDC_CONV_PAUSE));
  EXPECT_FALSE(Enabled(*dlg, IDC_CONV_CANCEL));
  EXPECT_EQ(taskbar.State(), platform::TBPF_INDETERMINATE);
  // The second task never started.
  for (const auto& [text, severity] : LogLines(*dlg)) EXPECT_EQ(text.find("next.m4a"), std::string::npos);
  dlg.reset();
  EXPECT_EQ(taskbar.State(), platform::TBPF_NOPROGRESS);
  EXPECT_EQ(g_pConvProg.load(), nullptr);
}

// The main window shows the window modally; it returns 0 when closed.
TEST_F(ConvProgTest, ModalRunReturnsWhenFinishIsPressed) {
  CConvProg dlg;
  dlg.m_tasks.push_back(MakeTask("a.m4a", dir.path() + "/a.mp3"));
  dlg.m_nSamplesTotalAll = dlg.m_tasks[0].m_nExpectedSamples;
  dlg.SetDecodeEntry(FakeStages{}.Entry());
  bool finishedSeen = false;
  std::function<void()> poll = [&] {
    if (dlg.windowTitle() != "Finished Converting") {
      QTimer::singleShot(10, poll);
      return;
    }
    finishedSeen = true;
    Click(dlg, IDC_CONV_CANCEL);
  };
  QTimer::singleShot(10, poll);
  EXPECT_EQ(dlg.exec(), 0);
  EXPECT_TRUE(finishedSeen);
  EXPECT_TRUE(ThreadsEnded(dlg));
}

// The encoder's final report of a task is a synchronous send. A cancel that
// lands just then must not deadlock: the window serves the send while it waits.
TEST_F(ConvProgTest, CancelWhileTheEncoderSendsItsFinalReport) {
  std::atomic<bool> holding{false};
  FakeStages stages;
  stages.steps = 3;
  // The encoder holds its final report until the cancel is under way, then
  // sends it while the window waits for the threads.
  stages.beforeFinalSend = [&] {
    holding = true;
    while (CRunState* run = g_pConvProg.load()) {
      if (!run->m_bRunning) break;
      platform::Sleep(1);
    }
    platform::Sleep(50);
  };
  auto dlg = Open({"a.m4a"}, stages);
  ASSERT_TRUE(RunUntil([&] { return holding.load(); }));
  const int reports = CConvProg::ProgressMessageCount();
  MessageBoxAnswers yes(IDYES);
  Click(*dlg, IDC_CONV_CANCEL);
  EXPECT_FALSE(dlg->isVisible());
  EXPECT_TRUE(ThreadsEnded(*dlg));
  // The report was served (the encoder could end) and dropped: the run had
  // been cancelled.
  EXPECT_EQ(CConvProg::ProgressMessageCount(), reports);
}

TEST_F(ConvProgTest, LogNumbersContinueAcrossRuns) {
  auto numbers = [](const CConvProg& dlg) {
    std::vector<int> n;
    QTreeWidget* list = dlg.LogList();
    for (int i = 0; i < list->topLevelItemCount(); ++i) {
      const QString text = list->topLevelItem(i)->text(1);
      EXPECT_TRUE(text.endsWith(' ') && text.size() >= 4) << text.toStdString();
      n.push_back(text.trimmed().toInt());
    }
    return n;
  };
  std::vector<int> first, second;
  {
    auto dlg = Open({"a.m4a"}, FakeStages{});
    ASSERT_TRUE(RunUntil([&] { return dlg->windowTitle() == "Finished Converting"; }));
    first = numbers(*dlg);
    const QString time = dlg->LogList()->topLevelItem(0)->text(2);
    EXPECT_TRUE(QTime::fromString(time, "hh:mm:ss").isValid()) << time.toStdString();
    Click(*dlg, IDC_CONV_CANCEL);
  }
  {
    auto dlg = Open({"b.m4a"}, FakeStages{});
    ASSERT_TRUE(RunUntil([&] { return dlg->windowTitle() == "Finished Converting"; }));
    second = numbers(*dlg);
    // Clearing empties the list but does not restart the numbering.
    Click(*dlg, IDC_CONV_CLEAR);
    EXPECT_EQ(dlg->LogList()->topLevelItemCount(), 0);
  }
  ASSERT_FALSE(first.empty());
  ASSERT_FALSE(second.empty());
  for (size_t i = 1; i < first.size(); ++i) EXPECT_EQ(first[i], first[i - 1] + 1);
  EXPECT_EQ(second.front(), first.back() + 1);
}

TEST_F(ConvProgTest, OpenDirIsDisabledWithSameAsSource) {
  g_bSameAsSrc = 1;
  auto dlg = Open({"a.m4a"}, FakeStages{});
  ASSERT_TRUE(RunUntil([&] { return dlg->windowTitle() == "Finished Converting"; }));
  EXPECT_EQ(Text(*dlg, IDC_CONV_PAUSE), "Open Dir");
  EXPECT_FALSE(Enabled(*dlg, IDC_CONV_PAUSE));
}

TEST_F(ConvProgTest, EscAndEnterDoNotCloseAndTheCloseBoxAsks) {
  FakeStages stages;
  stages.steps = 400;
  auto dlg = Open({"long.m4a"}, stages, 60);
  ASSERT_TRUE(Progressing());
  for (int key : {Qt::Key_Escape, Qt::Key_Return, Qt::Key_Enter}) {
    for (QWidget* target : {static_cast<QWidget*>(dlg.get()),
                            platform::FindControl(dlg.get(), IDC_CONV_CANCEL),
                            platform::FindControl(dlg.get(), IDC_CONV_LOG)}) {
      QKeyEvent press(QEvent::KeyPress, key, Qt::NoModifier);
      QApplication::sendEvent(target, &press);
    }
  }
  EXPECT_TRUE(dlg->isVisible());
  EXPECT_EQ(dlg->m_bRunning, 1);
  {
    MessageBoxAnswers no(IDNO);
    dlg->close();
    EXPECT_EQ(no.Asked().size(), 1u);
    EXPECT_TRUE(dlg->isVisible());
  }
  MessageBoxAnswers yes(IDYES);
  dlg->close();
  EXPECT_FALSE(dlg->isVisible());
  EXPECT_TRUE(ThreadsEnded(*dlg));
}

TEST_F(ConvProgTest, PlacementIsSavedAndRestored) {
  QRect where;
  {
    auto dlg = Open({"a.m4a"}, FakeStages{});
    ASSERT_TRUE(RunUntil([&] { return dlg->windowTitle() == "Finished Converting"; }));
    dlg->setGeometry(dlg->x() + 10, dlg->y() + 20, dlg->width() + 40, dlg->height() + 30);
    RunFor(20);
    where = dlg->geometry();
    Click(*dlg, IDC_CONV_CANCEL);
  }
  auto bytes = platform::GetProfileBinary("Position", kConvProgPlacementName);
  ASSERT_TRUE(bytes);
  EXPECT_EQ(bytes->size(), 44);
  auto dlg = Open({"b.m4a"}, FakeStages{});
  EXPECT_EQ(dlg->geometry(), where);
  ASSERT_TRUE(RunUntil([&] { return dlg->windowTitle() == "Finished Converting"; }));
}

// The log grows both ways, the bars and paths with the width, the buttons keep
// their centres at the same fraction of the width and follow the bottom.
TEST_F(ConvProgTest, ControlsFollowTheWindowSize) {
  auto dlg = Open({"a.m4a"}, FakeStages{});
  ASSERT_TRUE(RunUntil([&] { return dlg->windowTitle() == "Finished Converting"; }));
  auto geometry = [&](int id) { return platform::FindControl(dlg.get(), id)->geometry(); };
  const QSize size0 = dlg->size();
  const QRect log0 = geometry(IDC_CONV_LOG), bar0 = geometry(IDC_CONV_PROGRESS_ALL),
              cancel0 = geometry(IDC_CONV_CANCEL), source0 = geometry(IDC_CONV_SOURCE_LABEL),
              speed0 = geometry(IDC_CONV_SPEED_TASK);
  dlg->resize(size0 + QSize(200, 100));
  ASSERT_TRUE(RunUntil([&] { return dlg->size() == size0 + QSize(200, 100); }, 2000));
  EXPECT_EQ(geometry(IDC_CONV_LOG).size(), log0.size() + QSize(200, 100));
  EXPECT_EQ(geometry(IDC_CONV_PROGRESS_ALL).width(), bar0.width() + 200);
  EXPECT_EQ(geometry(IDC_CONV_CANCEL).top(), cancel0.top() + 100);
  const double fraction0 = (cancel0.left() + cancel0.left() + cancel0.width()) * 0.5 / size0.width();
  const QRect cancel1 = geometry(IDC_CONV_CANCEL);
  const double fraction1 = (cancel1.left() + cancel1.left() + cancel1.width()) * 0.5 / dlg->width();
  EXPECT_NEAR(fraction1, fraction0, 1.0 / dlg->width());
  EXPECT_EQ(geometry(IDC_CONV_SOURCE_LABEL), source0);  // not registered
  EXPECT_EQ(geometry(IDC_CONV_SPEED_TASK).top(), speed0.top());
  SaveScreenshot(dlg.get(), "progress-finished-wide-fake");
}
