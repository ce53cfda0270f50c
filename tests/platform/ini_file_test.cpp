#include <gtest/gtest.h>

#include "platform/core/ini_file.h"
#include "tests/support/temp_dir.h"

using namespace platform;

TEST(IniFile, ReadsValuesWithDefaultsAndWithoutRegardToCase) {
  TempDir dir;
  auto file = dir.WriteFile("a.ini",
                            "; comment\r\n[Output]\r\nSameAsSrc = 1\r\nDesDir=\"/music/\"\r\n"
                            "Empty=\r\nNumber=  -12abc\r\n[mp3]\r\nLameBits=3\r\n");
  EXPECT_EQ(GetPrivateProfileInt("OUTPUT", "sameassrc", 9, file), 1);
  EXPECT_EQ(GetPrivateProfileInt("MP3", "LameBits", 11, file), 3);
  EXPECT_EQ(GetPrivateProfileInt("MP3", "Freq", 5, file), 5);       // missing key
  EXPECT_EQ(GetPrivateProfileInt("NONE", "LameBits", 4, file), 4);  // missing section
  EXPECT_EQ(GetPrivateProfileInt("OUTPUT", "Number", 0, file), -12);
  EXPECT_EQ(GetPrivateProfileInt("OUTPUT", "DesDir", 8, file), 0);  // not a number
  EXPECT_EQ(GetPrivateProfileString("OUTPUT", "DesDir", "x", 1024, file), "/music/");
  EXPECT_EQ(GetPrivateProfileString("OUTPUT", "Empty", "default", 1024, file), "");
  EXPECT_EQ(GetPrivateProfileString("OUTPUT", "Missing", "default", 1024, file), "default");
  EXPECT_EQ(GetPrivateProfileInt("OUTPUT", "SameAsSrc", 3, dir.path() + "/none.ini"), 3);
}

TEST(IniFile, CutsStringsToTheBufferInCharacters) {
  TempDir dir;
  std::string longText(1100, 'a');
  longText.replace(1021, 3, "\xC3\xA9\xC3\xA9");  // two-byte characters across the cut
  auto file = dir.WriteFile("a.ini", "[S]\nK=" + longText + "\n");
  std::string value = GetPrivateProfileString("S", "K", "", 1024, file);
  EXPECT_EQ(value.size(), 1021u + 4u);  // 1023 characters, two of them two bytes long
  EXPECT_EQ(value.substr(1021), "\xC3\xA9\xC3\xA9");
}

TEST(IniFile, WriteCreatesFileAndSectionAndKeepsOtherLines) {
  TempDir dir;
  std::string file = dir.path() + "/new.ini";
  ASSERT_TRUE(WritePrivateProfileString("OUTPUT", "SameAsSrc", "0", file));
  ASSERT_TRUE(WritePrivateProfileString("MP3", "LameBits", "11", file));
  ASSERT_TRUE(WritePrivateProfileString("output", "DesDir", "/x/", file));
  ASSERT_TRUE(WritePrivateProfileString("OUTPUT", "SAMEASSRC", "1", file));
  EXPECT_EQ(dir.ReadFile("new.ini"), "[OUTPUT]\nSAMEASSRC=1\nDesDir=/x/\n[MP3]\nLameBits=11\n");

  auto kept = dir.WriteFile("kept.ini", "# mine\n[A]\nx=1\n\n[B]\ny=2\n");
  ASSERT_TRUE(WritePrivateProfileString("A", "z", "3", kept));
  ASSERT_TRUE(WritePrivateProfileString("B", "y", nullptr, kept));
  EXPECT_EQ(dir.ReadFile("kept.ini"), "# mine\n[A]\nx=1\nz=3\n\n[B]\n");
}

TEST(IniFile, WriteIntoAMissingFolderFails) {
  TempDir dir;
  EXPECT_FALSE(WritePrivateProfileString("A", "b", "c", dir.path() + "/no/such/file.ini"));
}
