#include <gtest/gtest.h>

#include <cstdlib>

#include "app/settings_file.h"
#include "engine/encoder_settings.h"
#include "platform/core/file_system.h"
#include "tests/support/temp_dir.h"

namespace {

// Points HOME and XDG_CONFIG_HOME into a fresh folder for each test.
class SettingsTest : public ::testing::Test {
 protected:
  void SetUp() override {
    setenv("HOME", home.path().c_str(), 1);
    setenv("XDG_CONFIG_HOME", (home.path() + "/config").c_str(), 1);
    g_nFreqIndex = 3;
    g_nLameBitsIndex = 2;
    g_nLameChannel = 4;
    g_bSameAsSrc = 1;
  }
  std::string ConfigFile() const { return home.path() + "/config/Korvane/Config.ini"; }
  void WriteConfig(const std::string& text) const {
    home.WriteFile("config/Korvane/Config.ini", text);
  }
  TempDir home;
};

}  // namespace

TEST_F(SettingsTest, FirstStartCreatesAnEmptyFileAndTakesDefaults) {
  std::vector<std::string> messages;
  InitSettingsStore(&messages);
  EXPECT_TRUE(messages.empty());
  EXPECT_EQ(g_strSettingsDir, home.path() + "/config/Korvane");
  EXPECT_TRUE(platform::PathFileExists(ConfigFile()));
  EXPECT_EQ(home.ReadFile("config/Korvane/Config.ini"), "");
  // Defaults were set before the empty file was found, untouched by loading.
  EXPECT_EQ(g_strDesDir, home.path() + "/Music/");
}

TEST_F(SettingsTest, MusicFolderComesFromTheUserDirs) {
  home.WriteFile("Tunes/.keep");
  home.WriteFile("Desk/.keep");
  home.WriteFile("config/user-dirs.dirs",
                 "# generated\nXDG_DESKTOP_DIR=\"$HOME/Desk\"\nXDG_MUSIC_DIR=\"$HOME/Tunes\"\n");
  EXPECT_EQ(DefaultOutputFolder(), home.path() + "/Tunes/");
  home.WriteFile("config/user-dirs.dirs", "XDG_DESKTOP_DIR=\"$HOME/Desk\"\nXDG_MUSIC_DIR=\"$HOME/Gone\"\n");
  EXPECT_EQ(DefaultOutputFolder(), home.path() + "/Desk/");
}

TEST_F(SettingsTest, LoadsStoredValuesAndDefaultsForMissingOnes) {
  WriteConfig("[OUTPUT]\nSameAsSrc=1\nDesDir=/data/out/\nLastDir=/data\n[MP3]\nLameBits=0\n");
  InitSettingsStore();
  EXPECT_EQ(g_bSameAsSrc, 1);
  EXPECT_EQ(g_strDesDir, "/data/out/");
  EXPECT_EQ(g_strLastDir, "/data");
  EXPECT_EQ(g_nLameBitsIndex, 0);  // 8 kbit/s
  EXPECT_EQ(g_nLameChannel, 0);
  EXPECT_EQ(g_nFreqIndex, 0);
}

TEST_F(SettingsTest, MissingSectionAndEmptyFolder) {
  WriteConfig("[OUTPUT]\nDesDir=\n");
  InitSettingsStore();
  EXPECT_EQ(g_strDesDir, "");  // present but empty stays empty
  EXPECT_EQ(g_nLameBitsIndex, 11);
  EXPECT_EQ(g_nLameChannel, 0);
  EXPECT_EQ(g_nFreqIndex, 0);
}

TEST_F(SettingsTest, OutOfRangeIndexesTakeTheirDefaults) {
  WriteConfig("[MP3]\nLameBits=17\nLameChannel=-1\nFreq=10\n");
  InitSettingsStore();
  EXPECT_EQ(g_nLameBitsIndex, 11);
  EXPECT_EQ(g_nLameChannel, 0);
  EXPECT_EQ(g_nFreqIndex, 0);
  WriteConfig("[MP3]\nLameBits=16\nLameChannel=4\nFreq=9\n");
  LoadSettings();
  EXPECT_EQ(g_nLameBitsIndex, 16);
  EXPECT_EQ(g_nLameChannel, 4);
  EXPECT_EQ(g_nFreqIndex, 9);
}

TEST_F(SettingsTest, LongFoldersAreCutAndMissingSeparatorAdded) {
  std::string longDir = "/" + std::string(1100, 'd');
  WriteConfig("[OUTPUT]\nDesDir=/no/slash\nLastDir=" + longDir + "\n");
  InitSettingsStore();
  EXPECT_EQ(g_strDesDir, "/no/slash/");
  EXPECT_EQ(g_strLastDir, longDir.substr(0, 1023));
}

TEST_F(SettingsTest, SaveWritesEveryValueAndResetRestoresDefaults) {
  InitSettingsStore();
  g_bSameAsSrc = 0;
  g_strDesDir = "/out/";
  g_nLameBitsIndex = 13;
  g_nLameChannel = 3;
  g_nFreqIndex = 8;
  ASSERT_TRUE(SaveSettings("/music/rock"));
  EXPECT_EQ(home.ReadFile("config/Korvane/Config.ini"),
            "[OUTPUT]\nSameAsSrc=0\nDesDir=/out/\nLastDir=/music/rock\n"
            "[MP3]\nLameBits=13\nLameChannel=3\nFreq=8\n");
  EXPECT_EQ(g_strLastDir, "/music/rock");

  ASSERT_TRUE(ResetSettings());
  EXPECT_FALSE(platform::PathFileExists(ConfigFile()));
  EXPECT_EQ(g_nLameBitsIndex, 11);
  EXPECT_EQ(g_nLameChannel, 0);
  EXPECT_EQ(g_nFreqIndex, 0);
  EXPECT_EQ(g_strLastDir, "");
  EXPECT_EQ(g_strDesDir, home.path() + "/Music/");
}

TEST_F(SettingsTest, FailuresAreReportedWithTheirTexts) {
  home.WriteFile("config", "not a folder");  // the settings folder cannot be made
  std::vector<std::string> messages;
  InitSettingsStore(&messages);
  ASSERT_EQ(messages.size(), 1u);
  EXPECT_EQ(messages[0], "Fail to create folder " + home.path() + "/config/Korvane !!");
  std::string message;
  EXPECT_FALSE(SaveSettings("/x", &message));
  EXPECT_EQ(message, "An error occurred while saving settings!");
}
