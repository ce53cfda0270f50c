#include <gtest/gtest.h>

#include <atomic>
#include <thread>

#include "platform/core/recording_target.h"
#include "platform/core/ticks.h"
#include "platform/core/worker_thread.h"

using namespace platform;
using Kind = RecordedMessage::Kind;

// The deadlock a cancel would hit: the owner waits for a worker while the
// worker sends to the owner. The wait must serve the send.
TEST(ThreadInbox, WaitServesWhatTheWorkerSends) {
  RecordingTarget window;
  window.SetSendHook([](const RecordedMessage& m) { return static_cast<LRESULT>(m.msg * 2); });
  std::atomic<LRESULT> reply{0};
  auto worker = WorkerThread::Create([&] {
    window.SetWindowText("Converting 1/1");
    window.SetDlgItemText(1092, "/in/a.m4a");
    reply = window.SendMessage(WM_USER + 100, 0, 0);
    window.SetTimer(1, 1000);
    return 7u;
  });
  worker->Start();
  ASSERT_TRUE(worker->Wait(INFINITE));
  EXPECT_EQ(worker->ExitCode(), 7u);
  EXPECT_EQ(reply, static_cast<LRESULT>((WM_USER + 100) * 2));

  auto all = window.Messages();
  ASSERT_EQ(all.size(), 4u);
  EXPECT_EQ(all[0].kind, Kind::WindowText);
  EXPECT_EQ(all[0].text, "Converting 1/1");
  EXPECT_EQ(all[1].kind, Kind::DlgItemText);
  EXPECT_EQ(all[1].msg, 1092u);
  EXPECT_EQ(all[2].kind, Kind::Sent);
  EXPECT_EQ(all[3].kind, Kind::SetTimer);
  for (const auto& m : all) EXPECT_TRUE(m.onOwnerThread) << "handled off the owner thread";
}

TEST(ThreadInbox, TimedWaitServesSendsAndReportsTimeout) {
  RecordingTarget window;
  std::atomic<bool> stop{false};
  auto worker = WorkerThread::Create([&] {
    window.SendMessage(WM_USER + 1);
    while (!stop) Sleep(1);
    return 0u;
  });
  worker->Start();
  // Timed waits that end unfinished still serve the send meanwhile.
  for (int i = 0; i < 500 && window.Messages(Kind::Sent).empty(); ++i)
    EXPECT_FALSE(worker->Wait(10));
  EXPECT_EQ(window.Messages(Kind::Sent).size(), 1u);
  EXPECT_FALSE(worker->Wait(20));  // still running
  stop = true;
  EXPECT_TRUE(worker->Wait(INFINITE));
  EXPECT_TRUE(worker->IsFinished());
}

TEST(ThreadInbox, SendOnOwnerThreadIsADirectCall) {
  RecordingTarget window;
  window.SetSendHook([](const RecordedMessage&) { return LRESULT{42}; });
  EXPECT_EQ(window.SendMessage(WM_USER + 5), 42);
  ASSERT_EQ(window.Messages().size(), 1u);
  EXPECT_TRUE(window.Messages()[0].onOwnerThread);
}

TEST(ThreadInbox, PostReturnsAtOnceAndKeepsOrder) {
  RecordingTarget window;
  auto worker = WorkerThread::Create([&] {
    for (unsigned i = 0; i < 100; ++i) window.PostMessage(WM_USER + 1, i, 0);
    return 0u;
  });
  worker->Start();
  worker->Wait(INFINITE);
  auto posted = window.Messages(Kind::Posted);
  ASSERT_EQ(posted.size(), 100u);
  for (unsigned i = 0; i < 100; ++i) EXPECT_EQ(posted[i].wParam, i);
}

// A window whose thread has gone can no longer answer; its senders must not hang.
TEST(ThreadInbox, SendToAWindowWhoseThreadEndedReturnsZero) {
  std::unique_ptr<RecordingTarget> window;
  std::thread owner([&] { window = std::make_unique<RecordingTarget>(); });
  owner.join();
  EXPECT_EQ(window->SendMessage(WM_USER + 1), 0);
}

TEST(WorkerThread, NeverStartedCountsAsEndedAndStartsOnce) {
  std::atomic<int> runs{0};
  auto worker = WorkerThread::Create([&] { return static_cast<unsigned>(++runs); });
  EXPECT_TRUE(worker->Wait(0));
  worker->Start();
  worker->Start();
  worker->Wait(INFINITE);
  EXPECT_EQ(runs, 1);
}

TEST(Ticks, CountMilliseconds) {
  std::uint32_t t0 = GetTickCount();
  Sleep(20);
  std::uint32_t elapsed = GetTickCount() - t0;
  EXPECT_GE(elapsed, 19u);
}
