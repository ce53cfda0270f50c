#include <gtest/gtest.h>

#include <QLabel>
#include <QWidget>
#include <atomic>
#include <thread>
#include <vector>

#include "platform/core/worker_thread.h"
#include "platform/ui/dialog_template.h"
#include "platform/ui/message_window.h"
#include "tests/support/ui_test_support.h"

using namespace platform;

namespace {

constexpr unsigned WM_TEST = WM_USER + 7;

// A payload that counts its frees, so a leak or a double free shows.
std::atomic<int> g_freed{0};
void ReleaseCounter(unsigned, WPARAM wParam, LPARAM) {
  delete reinterpret_cast<int*>(wParam);
  ++g_freed;
}

struct Received {
  unsigned msg;
  WPARAM wParam;
  bool onUiThread;
};

class MessageWindowTest : public ::testing::Test {
 protected:
  void SetUp() override { g_freed = 0; }
  std::thread::id ui = std::this_thread::get_id();
  std::vector<Received> received;
  MessageWindow::Handler Recorder(LRESULT result = 0) {
    return [this, result](unsigned msg, WPARAM w, LPARAM) {
      received.push_back({msg, w, std::this_thread::get_id() == ui});
      return result;
    };
  }
};

}  // namespace

TEST_F(MessageWindowTest, PostsFromAWorkerArriveInOrderOnTheUiThread) {
  MessageWindow window(nullptr, Recorder());
  auto worker = WorkerThread::Create([&] {
    for (unsigned i = 0; i < 50; ++i) window.PostMessage(WM_TEST, i);
    return 0u;
  });
  worker->Start();
  ASSERT_TRUE(worker->Wait(INFINITE));
  EXPECT_TRUE(received.empty());  // queued, not delivered behind the loop's back
  ASSERT_TRUE(RunUntil([&] { return received.size() == 50; }));
  for (unsigned i = 0; i < 50; ++i) {
    EXPECT_EQ(received[i].wParam, i);
    EXPECT_TRUE(received[i].onUiThread);
  }
}

// A send from a worker is served by the plain event loop (the inbox wakes it),
// and the worker gets the handler's result.
TEST_F(MessageWindowTest, SendFromAWorkerIsServedByTheEventLoop) {
  MessageWindow window(nullptr, Recorder(1234));
  std::atomic<LRESULT> reply{0};
  auto worker = WorkerThread::Create([&] {
    reply = window.SendMessage(WM_TEST, 5);
    return 0u;
  });
  worker->Start();
  ASSERT_TRUE(RunUntil([&] { return worker->IsFinished(); }));
  EXPECT_EQ(reply, 1234);
  ASSERT_EQ(received.size(), 1u);
  EXPECT_TRUE(received[0].onUiThread);
}

// The UI thread waiting for a worker that sends to it must serve the send.
TEST_F(MessageWindowTest, UiThreadWaitServesSends) {
  MessageWindow window(nullptr, Recorder(7));
  std::atomic<LRESULT> reply{0};
  auto worker = WorkerThread::Create([&] {
    reply = window.SendMessage(WM_TEST);
    return 0u;
  });
  worker->Start();
  ASSERT_TRUE(worker->Wait(INFINITE));
  EXPECT_EQ(reply, 7);
}

TEST_F(MessageWindowTest, SendOnTheUiThreadIsADirectCall) {
  MessageWindow window(nullptr, Recorder(3));
  EXPECT_EQ(window.SendMessage(WM_TEST, 9), 3);
  ASSERT_EQ(received.size(), 1u);
  EXPECT_EQ(received[0].wParam, 9u);
}

TEST_F(MessageWindowTest, TextsFromAWorkerLandOnTheOwnerWidget) {
  QWidget dialog;
  BuildDialog(&dialog, {1, 100, 50, "Sans", 8, {{1092, ControlKind::Label, "", 5, 5, 80, 10}}});
  MessageWindow window(&dialog);
  auto worker = WorkerThread::Create([&] {
    window.SetWindowText("Converting 1/2");
    window.SetDlgItemText(1092, "/music/a.m4a");
    return 0u;
  });
  worker->Start();
  ASSERT_TRUE(worker->Wait(INFINITE));
  EXPECT_EQ(dialog.windowTitle(), "Converting 1/2");
  EXPECT_EQ(FindControl<QLabel>(&dialog, 1092)->text(), "/music/a.m4a");
}

TEST_F(MessageWindowTest, TimerTicksUntilKilled) {
  MessageWindow window;
  int ticks = 0;
  window.SetHandler([&](unsigned msg, WPARAM id, LPARAM) {
    if (msg == WM_TIMER && id == 1 && ++ticks == 3) window.KillTimer(1);
    return LRESULT{0};
  });
  window.SetTimer(1, 10);
  ASSERT_TRUE(RunUntil([&] { return ticks == 3; }));
  RunFor(60);
  EXPECT_EQ(ticks, 3);
}

// The receiver frees payloads: those it is handed, and those of messages still
// queued when the window goes away.
TEST_F(MessageWindowTest, PayloadsOfDroppedMessagesAreFreed) {
  {
    MessageWindow window;
    window.SetPayloadReleaser(&ReleaseCounter);
    window.SetHandler([&](unsigned msg, WPARAM w, LPARAM l) {
      ReleaseCounter(msg, w, l);
      return LRESULT{0};
    });
    window.PostMessage(WM_TEST, reinterpret_cast<WPARAM>(new int(1)));
    ASSERT_TRUE(RunUntil([] { return g_freed == 1; }));
    for (int i = 0; i < 3; ++i) window.PostMessage(WM_TEST, reinterpret_cast<WPARAM>(new int(i)));
  }
  EXPECT_EQ(g_freed, 4);
  RunFor(20);
  EXPECT_EQ(g_freed, 4);  // never twice
}

TEST_F(MessageWindowTest, WindowWithoutHandlerFreesWhatItGets) {
  MessageWindow window;
  window.SetPayloadReleaser(&ReleaseCounter);
  window.PostMessage(WM_TEST, reinterpret_cast<WPARAM>(new int(1)));
  window.SendMessage(WM_TEST, reinterpret_cast<WPARAM>(new int(2)));
  ASSERT_TRUE(RunUntil([] { return g_freed == 2; }));
}
