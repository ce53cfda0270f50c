#include <gtest/gtest.h>

#include <QApplication>
#include <QMessageBox>
#include <QPushButton>
#include <QTimer>
#include <atomic>

#include "platform/core/message_box.h"
#include "platform/core/worker_thread.h"
#include "platform/ui/ui_message_box.h"
#include "tests/support/ui_test_support.h"

using namespace platform;

namespace {

// Presses a button of the next box that opens, after checking how it looks.
struct BoxPress {
  QString text;
  QMessageBox::Icon icon = QMessageBox::NoIcon;
  QMessageBox::StandardButtons buttons;
  bool seen = false;
  void Arm(QMessageBox::StandardButton press) {
    QTimer::singleShot(0, [this, press] { Press(press); });
  }
  void Press(QMessageBox::StandardButton press) {
    auto* box = qobject_cast<QMessageBox*>(QApplication::activeModalWidget());
    if (!box) {
      QTimer::singleShot(5, [this, press] { Press(press); });
      return;
    }
    seen = true;
    text = box->text();
    icon = box->icon();
    buttons = box->standardButtons();
    box->button(press)->click();
  }
};

}  // namespace

TEST(MessageBox, ButtonsIconsAndAnswers) {
  struct Case {
    unsigned flags;
    QMessageBox::StandardButtons buttons;
    QMessageBox::Icon icon;
    QMessageBox::StandardButton press;
    int answer;
  } cases[] = {
      {MB_YESNO, QMessageBox::Yes | QMessageBox::No, QMessageBox::NoIcon, QMessageBox::Yes, IDYES},
      {MB_YESNO | MB_ICONQUESTION, QMessageBox::Yes | QMessageBox::No, QMessageBox::Question,
       QMessageBox::No, IDNO},
      {MB_OK | MB_ICONERROR, QMessageBox::Ok, QMessageBox::Critical, QMessageBox::Ok, IDOK},
      {MB_OKCANCEL | MB_ICONWARNING, QMessageBox::Ok | QMessageBox::Cancel, QMessageBox::Warning,
       QMessageBox::Cancel, IDCANCEL},
      {MB_YESNOCANCEL | MB_ICONINFORMATION,
       QMessageBox::Yes | QMessageBox::No | QMessageBox::Cancel, QMessageBox::Information,
       QMessageBox::Cancel, IDCANCEL},
  };
  for (const Case& c : cases) {
    BoxPress press;
    press.Arm(c.press);
    EXPECT_EQ(ShowMessageBox(nullptr, "Do You Want to Cancel?", c.flags), c.answer);
    EXPECT_TRUE(press.seen);
    EXPECT_EQ(press.text, "Do You Want to Cancel?");
    EXPECT_EQ(press.buttons, c.buttons) << c.flags;
    EXPECT_EQ(press.icon, c.icon) << c.flags;
  }
}

// The encoder thread asks for a box: it is shown on the UI thread while the
// worker waits, and the worker gets the answer.
TEST(MessageBox, EngineBoxFromAWorkerIsShownOnTheUiThread) {
  BoxPress press;
  press.Arm(QMessageBox::Ok);
  std::atomic<int> answer{0};
  auto worker = WorkerThread::Create([&] {
    answer = platform::MessageBox("Unable to load lame_enc.so", MB_OK | MB_ICONERROR);
    return 0u;
  });
  worker->Start();
  ASSERT_TRUE(RunUntil([&] { return worker->IsFinished(); }));
  EXPECT_TRUE(press.seen);
  EXPECT_EQ(press.text, "Unable to load lame_enc.so");
  EXPECT_EQ(press.icon, QMessageBox::Critical);
  EXPECT_EQ(answer, IDOK);
}

TEST(MessageBox, AnswerHookStandsInForTheBox) {
  MessageBoxAnswers answers(IDNO);
  std::atomic<int> answer{0};
  auto worker = WorkerThread::Create([&] {
    answer = platform::MessageBox("Overwrite?", MB_YESNO);
    return 0u;
  });
  worker->Start();
  ASSERT_TRUE(worker->Wait(INFINITE));  // the UI thread's wait serves the box too
  EXPECT_EQ(answer, IDNO);
  ASSERT_EQ(answers.Asked().size(), 1u);
  EXPECT_EQ(answers.Asked()[0].text, "Overwrite?");
  EXPECT_TRUE(answers.Asked()[0].onUiThread);
}
