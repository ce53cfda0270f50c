#include <gtest/gtest.h>

#include "platform/core/file_system.h"
#include "tests/support/temp_dir.h"

using namespace platform;

TEST(FileSystem, CreateDirectoryReportsWindowsStyleErrors) {
  TempDir dir;
  EXPECT_EQ(CreateDirectory(dir.path() + "/a"), FsError::Ok);
  EXPECT_EQ(CreateDirectory(dir.path() + "/a"), FsError::AlreadyExists);
  EXPECT_EQ(CreateDirectory(dir.path() + "/b/c"), FsError::PathNotFound);
  EXPECT_TRUE(IsDirectory(dir.path() + "/a"));
}

TEST(FileSystem, MoveRefusesToReplaceAndDeleteRemoves) {
  TempDir dir;
  auto a = dir.WriteFile("a.mp3", "A");
  auto b = dir.WriteFile("b.mp3", "B");
  EXPECT_EQ(MoveFile(a, b), FsError::AlreadyExists);
  EXPECT_EQ(dir.ReadFile("b.mp3"), "B");
  EXPECT_EQ(MoveFile(a, dir.path() + "/c.mp3"), FsError::Ok);
  EXPECT_FALSE(PathFileExists(a));
  EXPECT_EQ(DeleteFile(b), FsError::Ok);
  EXPECT_EQ(DeleteFile(b), FsError::PathNotFound);
}

TEST(FileSystem, AttributesAndFolders) {
  TempDir dir;
  auto hidden = dir.WriteFile(".hidden", "12345");
  auto attrs = GetFileAttributes(hidden);
  EXPECT_TRUE(attrs.exists);
  EXPECT_TRUE(attrs.hidden);
  EXPECT_FALSE(attrs.directory);
  EXPECT_EQ(attrs.size, 5u);
  EXPECT_GT(attrs.modifiedUnix, 0);
  EXPECT_FALSE(GetFileAttributes(dir.path() + "/none").exists);
  EXPECT_EQ(FolderOf("/a/b/c.mp3"), "/a/b");
  EXPECT_EQ(FolderOf("c.mp3"), "");
  EXPECT_EQ(ExecutableFolder().back(), '/');
}
