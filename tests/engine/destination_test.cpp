#include <gtest/gtest.h>

#include "engine/destination.h"
#include "platform/core/file_system.h"
#include "tests/support/temp_dir.h"

TEST(CreateFolderTree, CreatesEveryMissingLevel) {
  TempDir dir;
  std::string deep = dir.path() + "/a/b/c/d";
  EXPECT_TRUE(CreateFolderTree(deep));
  EXPECT_TRUE(platform::IsDirectory(deep));
  EXPECT_TRUE(CreateFolderTree(deep));  // already there
  EXPECT_TRUE(CreateFolderTree(dir.path() + "/a/b/x"));
}

TEST(CreateFolderTree, FailsWithoutLoopingWhereItCannot) {
  TempDir dir;
  dir.WriteFile("file", "x");
  EXPECT_FALSE(CreateFolderTree(dir.path() + "/file/sub/deeper"));
  EXPECT_FALSE(CreateFolderTree(dir.path() + "/file"));  // a file, not a folder
  EXPECT_FALSE(CreateFolderTree("relative-without-parent/x/y/../z" + std::string(5000, 'q')));
  EXPECT_FALSE(CreateFolderTree(""));
  EXPECT_FALSE(CreateFolderTree("/proc/korvane-no/such"));
}

TEST(MakeUniqueFileName, CountsUpFromTwo) {
  TempDir dir;
  std::string song = dir.WriteFile("song.mp3");
  EXPECT_EQ(MakeUniqueFileName(song), dir.path() + "/song (2).mp3");
  dir.WriteFile("song (2).mp3");
  EXPECT_EQ(MakeUniqueFileName(song), dir.path() + "/song (3).mp3");
  // Dots in folder names are not extensions; a name without a dot has none.
  TempDir other;
  std::string plain = other.WriteFile("my.music/mp3");
  EXPECT_EQ(MakeUniqueFileName(plain), other.path() + "/my.music/mp3 (2)");
}
