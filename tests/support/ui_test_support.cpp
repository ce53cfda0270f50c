#include "tests/support/ui_test_support.h"

#include <QCoreApplication>
#include <QDir>
#include <QElapsedTimer>
#include <QWidget>
#include <QPixmap>

#include "platform/core/ticks.h"
#include "platform/ui/ui_message_box.h"

bool RunUntil(const std::function<bool()>& pred, int timeoutMs) {
  QElapsedTimer timer;
  timer.start();
  while (!pred()) {
    if (timer.elapsed() > timeoutMs) return pred();
    QCoreApplication::processEvents(QEventLoop::AllEvents, 10);
    platform::Sleep(1);
  }
  return true;
}

void RunFor(int ms) {
  QElapsedTimer timer;
  timer.start();
  while (timer.elapsed() < ms) {
    QCoreApplication::processEvents(QEventLoop::AllEvents, 10);
    platform::Sleep(1);
  }
}

void SaveScreenshot(QWidget* window, const QString& name) {
  const QString dir = qEnvironmentVariable("KORVANE_SCREENSHOT_DIR");
  if (dir.isEmpty() || !window) return;
  QDir().mkpath(dir);
  window->grab().save(QDir(dir).filePath(name + QStringLiteral(".png")));
}

MessageBoxAnswers::MessageBoxAnswers(std::function<int(const QString&, unsigned)> answer)
    : m_uiThread(std::this_thread::get_id()) {
  platform::SetMessageBoxAnswerHook([this, answer](const QString& text, unsigned flags) {
    {
      std::lock_guard lock(m_mutex);
      m_asked.push_back({text, flags, std::this_thread::get_id() == m_uiThread});
    }
    return answer(text, flags);
  });
}

MessageBoxAnswers::MessageBoxAnswers(int answer)
    : MessageBoxAnswers([answer](const QString&, unsigned) { return answer; }) {}

MessageBoxAnswers::~MessageBoxAnswers() { platform::SetMessageBoxAnswerHook(nullptr); }

std::vector<MessageBoxAnswers::Question> MessageBoxAnswers::Asked() const {
  std::lock_guard lock(m_mutex);
  return m_asked;
}
