#include <gtest/gtest.h>

#include <string>
#include <utility>
#include <vector>

#include "engine/controller.h"
#include "engine/run_messages.h"
#include "platform/core/file_system.h"
#include "platform/core/recording_target.h"
#include "platform/core/ticks.h"
#include "tests/support/temp_dir.h"

using platform::RecordedMessage;
using Kind = RecordedMessage::Kind;
using Line = std::pair<std::string, int>;

namespace {

const std::string kSep(99, '-');

CConversionTask MakeTask(const std::string& source, const std::string& dest) {
  CConversionTask t;
  t.m_strSource = source;
  t.m_strDest = dest;
  t.m_nSrcSampleRate = t.m_nSampleRate = 44100;
  t.m_nSrcChannels = t.m_nChannels = 2;
  t.m_nExpectedSamples = 88200;
  return t;
}

// A decode entry that plays the part of the real stages: it starts an
// "encoder" thread that counts one second of audio and records it, as the
// decode stage does, then fails for the sources named in failing.
DecodeEntry FakeStages(std::vector<std::string> failing, std::vector<std::string>* seen) {
  return [failing = std::move(failing), seen](CConversionTask* task) {
    seen->push_back(task->m_strDest);
    CRunState* run = g_pConvProg;
    for (const auto& f : failing) {
      if (task->m_strSource == f) {
        run->Log(LOG_ERROR, "Error code: -1");
        run->m_bRunning = 0;
        return 0;
      }
    }
    auto encoder = platform::WorkerThread::Create([run, task] {
      run->m_fSecondsDoneTask = run->m_fSecondsDoneTask + 1.0f;
      run->m_fSecondsDoneAll = run->m_fSecondsDoneAll + 1.0f;
      SendConvProgress(run->m_pWnd, 100.0f, 100.0f);  // the final report is sent
      (void)task;
      return 0u;
    });
    run->m_pEncoderThread.Set(encoder);
    encoder->Start();
    return 1;
  };
}

struct RunResult {
  std::vector<Line> log;
  std::vector<RecordedMessage> all;
  bool finished = false;
};

RunResult RunTasks(TaskList tasks, DecodeEntry decode, unsigned stageWaitMs = 10000) {
  platform::RecordingTarget window(DecodeRunMessage);
  CRunState run(&window);
  run.m_nStageWaitMs = stageWaitMs;
  run.m_tasks = std::move(tasks);
  auto controller = StartController(&run, std::move(decode));
  EXPECT_EQ(g_pConvProg.load(), &run);
  EXPECT_EQ(run.m_pControllerThread.Get(), controller);
  // Waiting serves the window texts and the encoder's synchronous report.
  run.WaitForThreads();
  g_pConvProg = nullptr;
  RunResult r;
  r.all = window.Messages();
  for (const auto& m : r.all) {
    if (m.kind == Kind::Posted && m.msg == WM_CONV_LOG)
      r.log.emplace_back(m.text, static_cast<int>(m.values.at(0)));
    if (m.kind == Kind::Posted && m.msg == WM_CONV_FINISHED) r.finished = true;
  }
  return r;
}

class ControllerTest : public ::testing::Test {
 protected:
  void SetUp() override { CreateSampleBuffers(); }
  TempDir dir;
  std::vector<std::string> seen;
};

}  // namespace

TEST_F(ControllerTest, OneTaskLogsItsLinesAndFinishes) {
  std::string dest = dir.path() + "/out/a.mp3";
  auto r = RunTasks({MakeTask("/in/a.m4a", dest)}, FakeStages({}, &seen));
  ASSERT_EQ(r.log.size(), 6u);
  EXPECT_EQ(r.log[0], Line(kSep, 0));
  EXPECT_EQ(r.log[1], Line("Start a new converting task.", 0));
  EXPECT_EQ(r.log[2], Line("Source:  /in/a.m4a.", 0));
  EXPECT_EQ(r.log[3], Line("Destination: " + dest + ".", 0));
  EXPECT_EQ(r.log[4].first.rfind("Time elapsed ", 0), 0u) << r.log[4].first;
  EXPECT_NE(r.log[4].first.find(" secs, speed "), std::string::npos);
  EXPECT_EQ(r.log[5], Line("Converting status: OK.", 0));
  EXPECT_TRUE(r.finished);
  // The finish message comes last, after every log line; texts and the timer
  // were set on the window's own thread.
  EXPECT_EQ(r.all.back().msg, WM_CONV_FINISHED);
  bool timer = false, caption = false, source = false, progress = false;
  for (const auto& m : r.all) {
    if (m.kind == Kind::SetTimer) timer = m.msg == 1 && m.wParam == 1000;
    if (m.kind == Kind::WindowText) caption = m.text == "Converting 1/1";
    if (m.kind == Kind::DlgItemText && m.msg == 1092) source = m.text == "/in/a.m4a";
    if (m.kind == Kind::Sent && m.msg == WM_CONV_PROGRESS)
      progress = m.values == std::vector<double>{100.0, 100.0};
    if (m.kind != Kind::Posted) {
      EXPECT_TRUE(m.onOwnerThread);
    }
  }
  EXPECT_TRUE(timer && caption && source && progress);
  EXPECT_TRUE(platform::IsDirectory(dir.path() + "/out"));
}

TEST_F(ControllerTest, OneTaskHasNoSummary) {
  auto r = RunTasks({MakeTask("/in/a.m4a", dir.path() + "/a.mp3")}, FakeStages({}, &seen));
  for (const auto& l : r.log) EXPECT_EQ(l.first.find("Total time"), std::string::npos);
  EXPECT_EQ(std::count(r.log.begin(), r.log.end(), Line(kSep, 0)), 1);
}

TEST_F(ControllerTest, SecondOfThreeFailsAndTheRunStops) {
  TaskList tasks = {MakeTask("/in/1.m4a", dir.path() + "/1.mp3"),
                    MakeTask("/in/2.m4a", dir.path() + "/2.mp3"),
                    MakeTask("/in/3.m4a", dir.path() + "/3.mp3")};
  auto r = RunTasks(tasks, FakeStages({"/in/2.m4a"}, &seen));
  std::vector<Line> status;
  for (const auto& l : r.log)
    if (l.first.rfind("Converting status", 0) == 0) status.push_back(l);
  EXPECT_EQ(status, (std::vector<Line>{{"Converting status: OK.", 0},
                                       {"Converting status: ERROR.", 2}}));
  EXPECT_EQ(r.log.back(), Line("Converting status: ERROR.", 2));
  EXPECT_EQ(seen.size(), 2u);  // the third task never started
  EXPECT_FALSE(r.finished);
  EXPECT_NE(std::find(r.log.begin(), r.log.end(), Line("Error code: -1", 2)), r.log.end());
}

TEST_F(ControllerTest, ThreeTasksEndWithTheSummary) {
  TaskList tasks = {MakeTask("/in/1.m4a", dir.path() + "/1.mp3"),
                    MakeTask("/in/2.m4a", dir.path() + "/2.mp3")};
  auto r = RunTasks(tasks, FakeStages({}, &seen));
  ASSERT_GE(r.log.size(), 2u);
  EXPECT_EQ(r.log[r.log.size() - 2], Line(kSep, 0));
  EXPECT_EQ(r.log.back().first.rfind("Total time elapsed ", 0), 0u);
  EXPECT_NE(r.log.back().first.find("overall speed "), std::string::npos);
  EXPECT_TRUE(r.finished);
}

TEST_F(ControllerTest, EmptyRunOnlyFinishes) {
  auto r = RunTasks({}, FakeStages({}, &seen));
  EXPECT_TRUE(r.log.empty());
  EXPECT_TRUE(r.finished);
}

TEST_F(ControllerTest, ExistingDestinationsGetFreeNames) {
  dir.WriteFile("song.mp3", "keep");
  TaskList tasks = {MakeTask("/in/a/song.m4a", dir.path() + "/song.mp3"),
                    MakeTask("/in/b/song.m4a", dir.path() + "/song.mp3")};
  // The fake stage creates each destination, as the encoder would.
  auto decode = [this](CConversionTask* t) {
    seen.push_back(t->m_strDest);
    platform::Sleep(1);
    FILE* f = std::fopen(t->m_strDest.c_str(), "wb");
    if (f) std::fclose(f);
    return 1;
  };
  auto r = RunTasks(tasks, decode);
  EXPECT_EQ(seen, (std::vector<std::string>{dir.path() + "/song (2).mp3",
                                            dir.path() + "/song (3).mp3"}));
  EXPECT_EQ(dir.ReadFile("song.mp3"), "keep");
  EXPECT_TRUE(r.finished);
}

TEST_F(ControllerTest, UncreatableFolderStopsTheRun) {
  dir.WriteFile("file", "x");  // a file where a folder should go
  std::string folder = dir.path() + "/file/sub";
  auto r = RunTasks({MakeTask("/in/a.m4a", folder + "/a.mp3"), MakeTask("/in/b.m4a", dir.path() + "/b.mp3")},
               FakeStages({}, &seen));
  ASSERT_EQ(r.log.size(), 2u);
  EXPECT_EQ(r.log[1], Line("Fail to create folder " + folder + " !", 2));
  EXPECT_TRUE(seen.empty());
  EXPECT_FALSE(r.finished);
}

// A stage that overstays is never killed: the run is stopped through its flag
// and the controller waits until the stage has noticed and ended.
TEST_F(ControllerTest, OverdueStageIsStoppedNotKilled) {
  std::atomic<bool> stageEnded{false};
  auto decode = [&](CConversionTask*) {
    CRunState* run = g_pConvProg;
    auto stage = platform::WorkerThread::Create([run, &stageEnded] {
      while (run->m_bRunning) platform::Sleep(1);
      stageEnded = true;
      return 0u;
    });
    run->m_pEncoderThread.Set(stage);
    stage->Start();
    return 1;
  };
  auto r = RunTasks({MakeTask("/in/a.m4a", dir.path() + "/a.mp3")}, decode, 100);
  EXPECT_TRUE(stageEnded);
  ASSERT_GE(r.log.size(), 2u);
  EXPECT_EQ(r.log[r.log.size() - 2].second, 1);
  EXPECT_NE(r.log[r.log.size() - 2].first.find("did not end"), std::string::npos);
  EXPECT_EQ(r.log.back(), Line("Converting status: ERROR.", 2));
  EXPECT_FALSE(r.finished);
}
