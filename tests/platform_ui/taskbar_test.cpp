#include <gtest/gtest.h>

#include <QDBusConnection>
#include <QDBusArgument>
#include <QDBusMessage>
#include <QDBusMetaType>
#include <QProcess>
#include <QStandardPaths>
#include <QVariantMap>

#include "platform/ui/taskbar.h"
#include "tests/support/ui_test_support.h"

using namespace platform;

namespace {

// Collects the launcher-entry updates seen on a bus.
class UpdateListener : public QObject {
  Q_OBJECT
 public:
  std::vector<std::pair<QString, QVariantMap>> updates;
 public slots:
  void OnUpdate(const QDBusMessage& message) {
    auto args = message.arguments();
    updates.emplace_back(args.value(0).toString(), qdbus_cast<QVariantMap>(args.value(1)));
  }
};

// A session bus of the test's own.
class PrivateBus {
 public:
  PrivateBus() {
    if (QStandardPaths::findExecutable("dbus-daemon").isEmpty()) return;
    m_daemon.start("dbus-daemon", {"--session", "--nofork", "--nopidfile", "--print-address=1"});
    if (!m_daemon.waitForReadyRead(5000)) return;
    m_address = QString::fromUtf8(m_daemon.readLine()).trimmed();
  }
  ~PrivateBus() {
    QDBusConnection::disconnectFromBus("sender");
    QDBusConnection::disconnectFromBus("listener");
    m_daemon.kill();
    m_daemon.waitForFinished();
  }
  QString Address() const { return m_address; }

 private:
  QProcess m_daemon;
  QString m_address;
};

}  // namespace

TEST(Taskbar, StatesAndValuesReachTheLauncherEntry) {
  PrivateBus bus;
  if (bus.Address().isEmpty()) GTEST_SKIP() << "no dbus-daemon to run a private bus";
  QDBusConnection sender = QDBusConnection::connectToBus(bus.Address(), "sender");
  QDBusConnection listenerBus = QDBusConnection::connectToBus(bus.Address(), "listener");
  ASSERT_TRUE(sender.isConnected() && listenerBus.isConnected());
  UpdateListener listener;
  ASSERT_TRUE(listenerBus.connect({}, {}, "com.canonical.Unity.LauncherEntry", "Update", &listener,
                                  SLOT(OnUpdate(QDBusMessage))));

  TaskbarProgress taskbar(sender);
  taskbar.SetProgressState(TBPF_NORMAL);
  taskbar.SetProgressValue(40, 100);
  taskbar.SetProgressState(TBPF_ERROR);
  taskbar.SetProgressValue(100, 100);  // an error stays an error
  taskbar.SetProgressState(TBPF_NOPROGRESS);
  ASSERT_TRUE(RunUntil([&] { return listener.updates.size() == 5; }, 5000));

  struct Expect {
    bool visible;
    double progress;
    bool urgent;
  } expect[] = {{true, 0, false}, {true, 0.4, false}, {true, 0.4, true}, {true, 1, true},
                {false, 1, false}};
  for (size_t i = 0; i < 5; ++i) {
    const auto& [uri, props] = listener.updates[i];
    EXPECT_EQ(uri, "application://korvane.desktop");
    EXPECT_EQ(props.value("progress-visible").toBool(), expect[i].visible) << i;
    EXPECT_DOUBLE_EQ(props.value("progress").toDouble(), expect[i].progress) << i;
    EXPECT_EQ(props.value("urgent").toBool(), expect[i].urgent) << i;
  }
  EXPECT_EQ(taskbar.State(), TBPF_NOPROGRESS);
}

TEST(Taskbar, NoSessionBusMeansNoTaskbar) {
  qputenv("DBUS_SESSION_BUS_ADDRESS", "unix:path=/nonexistent/korvane-test-bus");
  EXPECT_EQ(TaskbarProgress::Create(), nullptr);
}

#include "taskbar_test.moc"
