#include <gtest/gtest.h>

#include <QDir>
#include <QFile>
#include <QSettings>

#include "platform/ui/profile.h"

using namespace platform;

TEST(Profile, IntegersAndBinariesRoundTrip) {
  EXPECT_EQ(GetProfileInt("splt\\init_v103", "VertSplitPos", 200), 200);
  EXPECT_FALSE(GetProfileBinary("Position", "{104A7F6F-FFA3-4293-B808-9578D46FEC55}"));

  ASSERT_TRUE(WriteProfileInt("splt\\init_v103", "VertSplitPos", 321));
  ASSERT_TRUE(WriteProfileInt("Position", "", 3));
  QByteArray bytes("\x2c\0\0\0\xff\x01", 6);
  ASSERT_TRUE(WriteProfileBinary("Position", "{104A7F6F-FFA3-4293-B808-9578D46FEC55}", bytes));

  EXPECT_EQ(GetProfileInt("splt\\init_v103", "VertSplitPos", 200), 321);
  EXPECT_EQ(GetProfileInt("Position", "", 0), 3);
  EXPECT_EQ(GetProfileBinary("Position", "{104A7F6F-FFA3-4293-B808-9578D46FEC55}"), bytes);
  // The unnamed value and a named one of the same section do not mix.
  EXPECT_EQ(GetProfileInt("Position", "{104A7F6F-FFA3-4293-B808-9578D46FEC55}", -5), -5);
}

// The profile lives under the test's own configuration folder, in the
// organisation's and application's file.
TEST(Profile, StoredInTheApplicationsSettingsFile) {
  ASSERT_TRUE(WriteProfileInt("FileList", "Probe", 1));
  QString file = qEnvironmentVariable("XDG_CONFIG_HOME") + "/Velmont Corporation/Korvane.conf";
  ASSERT_TRUE(QFile::exists(file)) << file.toStdString();
  QSettings direct(file, QSettings::IniFormat);
  EXPECT_EQ(direct.value("FileList/Probe").toInt(), 1);
}
