#pragma once
// Helpers for tests that drive windows on the UI thread.
#include <QString>
#include <functional>
#include <mutex>
#include <thread>
#include <vector>

class QWidget;

// Processes events until pred() holds or timeoutMs passed; returns pred().
bool RunUntil(const std::function<bool()>& pred, int timeoutMs = 20000);
// Processes events for ms milliseconds.
void RunFor(int ms);

// Saves a picture of the window as <name>.png into $KORVANE_SCREENSHOT_DIR,
// when that is set.
void SaveScreenshot(QWidget* window, const QString& name);

// Answers message boxes instead of showing them, and records what was asked.
class MessageBoxAnswers {
 public:
  struct Question {
    QString text;
    unsigned flags;
    bool onUiThread;
  };
  // answer(text, flags) gives IDYES, IDNO, IDOK or IDCANCEL.
  explicit MessageBoxAnswers(std::function<int(const QString&, unsigned)> answer);
  explicit MessageBoxAnswers(int answer);
  ~MessageBoxAnswers();
  std::vector<Question> Asked() const;

 private:
  mutable std::mutex m_mutex;
  std::vector<Question> m_asked;
  std::thread::id m_uiThread;
};
