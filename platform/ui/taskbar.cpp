#include "platform/ui/taskbar.h"

#include <QDBusMessage>
#include <QVariantMap>

namespace platform {

TaskbarProgress* g_pTaskbarList = nullptr;

namespace {
const char kObjectPath[] = "/com/velmont/Korvane/LauncherEntry";
const char kInterface[] = "com.canonical.Unity.LauncherEntry";
}  // namespace

std::unique_ptr<TaskbarProgress> TaskbarProgress::Create() {
  QDBusConnection bus = QDBusConnection::sessionBus();
  if (!bus.isConnected()) return nullptr;
  return std::make_unique<TaskbarProgress>(bus);
}

TaskbarProgress::TaskbarProgress(const QDBusConnection& bus, QString appUri)
    : m_bus(bus), m_appUri(std::move(appUri)) {}

void TaskbarProgress::SetProgressState(int state) {
  m_state = state;
  Publish();
}

void TaskbarProgress::SetProgressValue(unsigned long long completed, unsigned long long total) {
  m_progress = total ? static_cast<double>(completed) / static_cast<double>(total) : 0.0;
  if (m_progress > 1) m_progress = 1;
  // Setting a value shows the bar, as the taskbar does for a bar that was off.
  if (m_state == TBPF_NOPROGRESS || m_state == TBPF_INDETERMINATE) m_state = TBPF_NORMAL;
  Publish();
}

void TaskbarProgress::Publish() {
  // The launcher entry knows a bar and an attention flag; an error asks for
  // attention, a pause keeps the bar where it stands.
  QVariantMap properties;
  properties.insert(QStringLiteral("progress-visible"), m_state != TBPF_NOPROGRESS);
  properties.insert(QStringLiteral("progress"), m_progress);
  properties.insert(QStringLiteral("urgent"), m_state == TBPF_ERROR);
  QDBusMessage signal = QDBusMessage::createSignal(QString::fromLatin1(kObjectPath),
                                                   QString::fromLatin1(kInterface),
                                                   QStringLiteral("Update"));
  signal << m_appUri << properties;
  m_bus.send(signal);
}

}  // namespace platform
