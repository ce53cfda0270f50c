#include <gtest/gtest.h>

#include "tests/cli/cli_runner.h"
#include "tests/support/temp_dir.h"

#include <fstream>

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

// ---- Conversions of the fixtures through the real binary -------------------

#include <algorithm>
#include <filesystem>
#include <regex>

#include "tests/encoder/mp3_probe.h"
#include "tests/engine/atom_writer.h"
#include "tests/engine/mp4_test_support.h"

namespace {

std::string Fixture(const std::string& name) { return TestDataDir() + "/" + name; }

void CopyFixture(const std::string& name, const std::string& folder) {
  std::filesystem::create_directories(folder);
  std::filesystem::copy_file(Fixture(name), folder + "/" + name);
}

// A long M4A built from the tone fixture's frames, for runs that must still be
// going when they are interrupted.
void WriteLongM4a(const std::string& path, int seconds) {
  OpenMp4 source(Fixture("stereo_44100_tone.mp4"));
  atoms::AacFile file;
  file.config = source.Config(0);
  std::vector<std::string> frames;
  for (int i = 2; i < 40; ++i) frames.push_back(*source.Sample(0, i));
  const int count = seconds * 44100 / 1024;
  for (int i = 0; i < count; ++i) file.frames.push_back(frames[static_cast<std::size_t>(i) % frames.size()]);
  file.stts = {{static_cast<std::uint32_t>(count), 1024}};
  std::ofstream(path, std::ios::binary) << file.Build();
}

}  // namespace

TEST(CliConvert, FolderConvertsWithNumberedLog) {
  TempDir home, in, out;
  for (const char* f : {"stereo_44100_tone.mp4", "tagged.mp4"}) CopyFixture(f, in.path());
  CopyFixture("mono_22050.mp4", in.path() + "/sub");
  auto run = RunCli({"-o", out.path(), in.path()}, home.path());
  EXPECT_EQ(run.exitCode, 0) << run.err;
  EXPECT_TRUE(run.err.empty()) << run.err;
  auto lines = Lines(run.out);
  ASSERT_FALSE(lines.empty());
  std::regex numbered(R"(\d{3} \d\d:\d\d:\d\d .*)");
  for (std::size_t i = 0; i < lines.size(); ++i) {
    EXPECT_TRUE(std::regex_match(lines[i], numbered)) << lines[i];
    EXPECT_EQ(std::stoi(lines[i].substr(0, 3)), static_cast<int>(i) + 1);
  }
  EXPECT_EQ(lines[1].substr(13), "Start a new converting task.");
  EXPECT_NE(run.out.find("Total time elapsed"), std::string::npos);  // two tasks
  EXPECT_TRUE(ReadMp3(out.path() + "/stereo_44100_tone.mp3").readable);
  EXPECT_TRUE(ReadMp3(out.path() + "/tagged.mp3").readable);
  EXPECT_FALSE(std::filesystem::exists(out.path() + "/mono_22050.mp3"));  // not recursive

  auto again = RunCli({"-q", "-r", "-b", "64", "-c", "mono", "-f", "22050", "-o", out.path(), in.path()},
                      home.path());
  EXPECT_EQ(again.exitCode, 0) << again.err;
  EXPECT_TRUE(again.out.empty());  // quiet
  // Nothing is overwritten: the second run's files get free names.
  Mp3Contents second = ReadMp3(out.path() + "/stereo_44100_tone (2).mp3");
  ASSERT_TRUE(second.readable);
  EXPECT_EQ(second.rate, 22050);
  EXPECT_EQ(second.channels, 1);
  EXPECT_TRUE(ReadMp3(out.path() + "/mono_22050.mp3").readable);
}

TEST(CliConvert, OptionsOverrideTheSettingsFileWithoutChangingIt) {
  TempDir home, out;
  home.WriteFile(".config/Korvane/Config.ini", "[MP3]\nLameBits=16\nLameChannel=1\nFreq=0\n");
  auto run = RunCli({"-q", "-b", "96", "-o", out.path(), Fixture("stereo_44100_tone.mp4")}, home.path());
  EXPECT_EQ(run.exitCode, 0) << run.err;
  Mp3Contents mp3 = ReadMp3(out.path() + "/stereo_44100_tone.mp3");
  ASSERT_GT(mp3.frames.size(), 1u);
  EXPECT_EQ(mp3.frames[1].bitRate, 96);
  EXPECT_EQ(mp3.channels, 1);  // mono still comes from the file
  EXPECT_EQ(home.ReadFile(".config/Korvane/Config.ini"), "[MP3]\nLameBits=16\nLameChannel=1\nFreq=0\n");
}

TEST(CliConvert, SkippedAndFailedFilesMakeExitStatusOne) {
  TempDir home, in, out;
  CopyFixture("not_mp4.mp4", in.path());
  CopyFixture("stereo_44100_tone.mp4", in.path());
  auto skipped = RunCli({"-o", out.path(), in.path()}, home.path());
  EXPECT_EQ(skipped.exitCode, 1);
  EXPECT_NE(skipped.err.find("skipping " + in.path() + "/not_mp4.mp4"), std::string::npos);
  EXPECT_TRUE(ReadMp3(out.path() + "/stereo_44100_tone.mp3").readable);

  auto damaged = RunCli({"-o", out.path(), Fixture("damaged_truncated.mp4")}, home.path());
  EXPECT_EQ(damaged.exitCode, 1);
  EXPECT_NE(damaged.err.find("Reading from MP4 file failed."), std::string::npos);
  EXPECT_NE(damaged.err.find("Converting status: ERROR."), std::string::npos);
}

TEST(CliConvert, InterruptCancelsAndLeavesAShorterPlayableFile) {
  TempDir home, in, out;
  WriteLongM4a(in.path() + "/long.m4a", 1200);
  auto run = RunCli({"-o", out.path(), in.path() + "/long.m4a"}, home.path(), 1200);
  EXPECT_EQ(run.exitCode, 130) << run.err;
  EXPECT_NE(run.err.find("Converting status: ERROR."), std::string::npos);
  Mp3Contents mp3 = ReadMp3(out.path() + "/long.mp3");
  ASSERT_TRUE(mp3.readable);
  EXPECT_EQ(mp3.infoId, "Info");
  EXPECT_GT(mp3.decodedLength, 0);
  EXPECT_LT(mp3.decodedLength, 1200 * 44100);
}
