#pragma once
// Progress on the program's taskbar or dock entry, through the desktop's
// launcher-entry signal (com.canonical.Unity.LauncherEntry) on the session
// bus, which docks and task managers of most desktops show. The entry is
// matched by the desktop file korvane.desktop.
#include <QDBusConnection>
#include <QString>
#include <memory>

namespace platform {

enum TaskbarProgressState {
  TBPF_NOPROGRESS = 0,
  TBPF_INDETERMINATE = 1,
  TBPF_NORMAL = 2,
  TBPF_ERROR = 4,
  TBPF_PAUSED = 8,
};

class TaskbarProgress {
 public:
  // Null when there is no session bus.
  static std::unique_ptr<TaskbarProgress> Create();
  explicit TaskbarProgress(const QDBusConnection& bus,
                           QString appUri = QStringLiteral("application://korvane.desktop"));

  void SetProgressState(int state);
  void SetProgressValue(unsigned long long completed, unsigned long long total);

  int State() const { return m_state; }
  double Progress() const { return m_progress; }

 private:
  void Publish();

  QDBusConnection m_bus;
  QString m_appUri;
  int m_state = TBPF_NOPROGRESS;
  double m_progress = 0;  // 0 to 1
};

// The main window's taskbar entry, or null; every caller skips a null one.
extern TaskbarProgress* g_pTaskbarList;

}  // namespace platform
