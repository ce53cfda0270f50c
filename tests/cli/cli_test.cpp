#include <gtest/gtest.h>

#include "tests/cli/cli_runner.h"
#include "tests/support/temp_dir.h"

TEST(Cli, VersionAndHelp) {
  TempDir home;
  auto version = RunCli({"--version"}, home.path());
  EXPECT_EQ(version.exitCode, 0);
  EXPECT_EQ(version.out, "Korvane 6.0.3\n");
  auto help = RunCli({"-h"}, home.path());
  EXPECT_EQ(help.exitCode, 0);
  EXPECT_NE(help.out.find("Usage: korvane-cli [OPTIONS] PATH..."), std::string::npos);
  EXPECT_NE(help.out.find("MP3:  CBR 128 kbps; Automatic Frequency; Automatic Channel;"),
            std::string::npos);
}

TEST(Cli, BadUsageExitsTwoWithAReason) {
  struct Case { std::vector<std::string> args; const char* reason; };
  const Case cases[] = {
      {{}, "no PATH given"},
      {{"--frobnicate", "x"}, "unknown option --frobnicate"},
      {{"-b", "129", "x"}, "unsupported bit rate '129'"},
      {{"--bitrate=abc", "x"}, "unsupported bit rate 'abc'"},
      {{"-f", "44000", "x"}, "unsupported frequency '44000'"},
      {{"-c", "quad", "x"}, "unknown channel mode 'quad'"},
      {{"-o", "/tmp", "-s", "x"}, "--out and --same-as-source exclude each other"},
      {{"x", "-o"}, "option -o needs a folder"},
      {{"--quiet=yes", "x"}, "option --quiet takes no value"},
  };
  TempDir home;
  for (const auto& c : cases) {
    auto run = RunCli(c.args, home.path());
    EXPECT_EQ(run.exitCode, 2) << c.reason;
    auto lines = Lines(run.err);
    ASSERT_FALSE(lines.empty());
    EXPECT_EQ(lines[0], std::string("korvane-cli: ") + c.reason);
    EXPECT_NE(run.err.find("Usage:"), std::string::npos);
    EXPECT_TRUE(run.out.empty());
  }
}

TEST(Cli, MissingPathsAndEmptyFoldersFail) {
  TempDir home;
  auto missing = RunCli({home.path() + "/nothing-here"}, home.path());
  EXPECT_EQ(missing.exitCode, 1);
  EXPECT_NE(missing.err.find("cannot access"), std::string::npos);
  TempDir empty;
  auto none = RunCli({empty.path()}, home.path());
  EXPECT_EQ(none.exitCode, 1);
  EXPECT_NE(none.err.find("no MP4 or M4A files found"), std::string::npos);
}
