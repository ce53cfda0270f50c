#include <gtest/gtest.h>

#include <QGuiApplication>
#include <QScreen>
#include <QWidget>

#include "platform/ui/profile.h"
#include "widgets/placement_store.h"

namespace {

WindowPlacement Stored(std::uint32_t showCmd, std::uint32_t flags) {
  WindowPlacement p;
  p.length = 44;
  p.flags = flags;
  p.showCmd = showCmd;
  p.ptMinPosition[0] = p.ptMinPosition[1] = -1;
  p.ptMaxPosition[0] = p.ptMaxPosition[1] = -1;
  p.rcNormalPosition[0] = 40;
  p.rcNormalPosition[1] = 30;
  p.rcNormalPosition[2] = 440;
  p.rcNormalPosition[3] = 330;
  return p;
}

}  // namespace

TEST(PlacementStore, RecordIs44LittleEndianBytes) {
  WindowPlacement p = Stored(SW_SHOWMAXIMIZED, WPF_RESTORETOMAXIMIZED);
  p.rcNormalPosition[0] = -8;
  QByteArray bytes = p.ToBytes();
  ASSERT_EQ(bytes.size(), 44);
  const unsigned char expectHead[] = {44, 0, 0, 0, 2, 0, 0, 0, 3, 0, 0, 0, 0xff, 0xff, 0xff, 0xff};
  EXPECT_EQ(bytes.left(16), QByteArray(reinterpret_cast<const char*>(expectHead), 16));
  EXPECT_EQ(bytes.mid(28, 4), QByteArray("\xf8\xff\xff\xff", 4));  // left = -8
  EXPECT_EQ(WindowPlacement::FromBytes(bytes), p);
  EXPECT_FALSE(WindowPlacement::FromBytes(bytes.left(40)));
}

TEST(PlacementStore, NothingStoredLeavesTheWindowAndKeepsACentredDefault) {
  QWidget window;
  window.setGeometry(10, 20, 300, 200);
  CPlacementStore store;
  EXPECT_FALSE(store.Load(&window, "{none}", "Position"));
  EXPECT_EQ(window.geometry(), QRect(10, 20, 300, 200));
  const QRect screen = QGuiApplication::primaryScreen()->geometry();
  const auto* rc = store.current.rcNormalPosition;
  EXPECT_EQ(rc[0], (screen.width() - 300) / 2);
  EXPECT_EQ(rc[1], (screen.height() - 200) / 2);
  EXPECT_EQ(rc[2] - rc[0], 300);
  EXPECT_EQ(rc[3] - rc[1], 200);
  EXPECT_EQ(store.current, store.defaultPlacement);
  // The fallback applies that default.
  store.Apply(&window);
  EXPECT_EQ(window.geometry(), QRect(rc[0], rc[1], 300, 200));
}

// The show override of the profile against the stored show command.
TEST(PlacementStore, ShowModeDecidesTheShowState) {
  struct Case {
    int showMode;
    std::uint32_t storedCmd, flags, expectCmd;
    Qt::WindowStates expectState;
  } cases[] = {
      {0, SW_SHOWMINIMIZED, 0, SW_SHOWNORMAL, Qt::WindowNoState},
      {0, SW_SHOWMINIMIZED, WPF_RESTORETOMAXIMIZED, SW_SHOWMAXIMIZED, Qt::WindowMaximized},
      {0, SW_SHOWMAXIMIZED, 0, SW_SHOWMAXIMIZED, Qt::WindowMaximized},
      {1, SW_SHOWMINIMIZED, 0, SW_SHOWMINIMIZED, Qt::WindowMinimized},
      {2, SW_SHOWMAXIMIZED, 0, SW_SHOWNORMAL, Qt::WindowNoState},
      {3, SW_SHOWNORMAL, 0, SW_SHOWMAXIMIZED, Qt::WindowMaximized},
      {4, SW_SHOWNORMAL, 0, SW_SHOWMINIMIZED, Qt::WindowMinimized},
  };
  int n = 0;
  for (const Case& c : cases) {
    const QString section = QString("ShowCase%1").arg(n++);
    ASSERT_TRUE(platform::WriteProfileInt(section, "", c.showMode));
    ASSERT_TRUE(platform::WriteProfileBinary(section, "{dlg}", Stored(c.storedCmd, c.flags).ToBytes()));
    QWidget window;
    CPlacementStore store;
    ASSERT_TRUE(store.Load(&window, "{dlg}", section));
    EXPECT_EQ(store.showMode, c.showMode);
    EXPECT_EQ(store.current.showCmd, c.expectCmd) << "case " << n;
    EXPECT_EQ(window.windowState(), c.expectState) << "case " << n;
    if (c.expectState == Qt::WindowNoState) {
      EXPECT_EQ(window.geometry(), QRect(40, 30, 400, 300));
    }
  }
}

TEST(PlacementStore, SaveWritesTheRecordAndTheShowMode) {
  ASSERT_TRUE(platform::WriteProfileInt("SaveCase", "", 2));
  QWidget window;
  window.setGeometry(50, 60, 320, 240);
  CPlacementStore store;
  store.Load(&window, "{dlg}", "SaveCase");
  window.setWindowState(Qt::WindowMaximized);
  ASSERT_TRUE(store.Save(&window, "{dlg}", "SaveCase"));
  auto bytes = platform::GetProfileBinary("SaveCase", "{dlg}");
  ASSERT_TRUE(bytes);
  auto p = WindowPlacement::FromBytes(*bytes);
  ASSERT_TRUE(p);
  EXPECT_EQ(p->length, 44u);
  EXPECT_EQ(p->showCmd, SW_SHOWMAXIMIZED);
  EXPECT_EQ(p->rcNormalPosition[0], 50);
  EXPECT_EQ(p->rcNormalPosition[3], 300);
  EXPECT_EQ(platform::GetProfileInt("SaveCase", "", -1), 2);

  // A wrong-sized value counts as none.
  ASSERT_TRUE(platform::WriteProfileBinary("SaveCase", "{short}", QByteArray(40, '\1')));
  QWidget other;
  CPlacementStore second;
  EXPECT_FALSE(second.Load(&other, "{short}", "SaveCase"));
}
