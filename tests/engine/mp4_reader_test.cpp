#include "engine/mp4_reader.h"

#include <fcntl.h>
#include <gtest/gtest.h>
#include <unistd.h>

#include <filesystem>
#include <fstream>
#include <functional>
#include <string>
#include <vector>

#include "tests/engine/atom_writer.h"
#include "tests/engine/mp4_test_support.h"
#include "tests/fuzz/exercise_reader.h"
#include "tests/support/temp_dir.h"

using namespace atoms;

namespace {

std::string Fixture(const std::string& name) { return TestDataDir() + "/" + name; }

// A file whose every 4-byte-aligned word after the given atoms holds its own
// offset, up to end: a 4-byte sample tells where the reader looked for it.
std::string SelfDescribing(const std::string& atomsInFront, std::uint32_t end) {
  std::string file = Ftyp() + atomsInFront;
  std::size_t start = file.size() + 8;
  file += U32(end - file.size()) + "mdat";
  for (std::size_t p = start; p < end;) {
    if (p % 4 != 0) {
      file += '\0';
      ++p;
    } else {
      file += U32(p);
      p += 4;
    }
  }
  return file;
}

std::string OneTrack(const std::string& stblChildren, std::uint32_t timeScale = 44100) {
  return Box("moov", Trak(Mdhd(timeScale), stblChildren));
}

}  // namespace

TEST(Mp4ReaderTest, ReadsTheFixtures) {
  struct Case {
    const char* file;
    int tracks, aacTrack;
    std::uint32_t timeScale;
    int samples, lastDuration;
  } cases[] = {
      {"stereo_44100_tone.mp4", 1, 0, 44100, 45, 68},
      {"stereo_44100_tone_faststart.mp4", 1, 0, 44100, 45, 68},
      {"mono_22050.mp4", 1, 0, 22050, 12, 785},
      {"six_channels_48000.mp4", 1, 0, 48000, 25, 448},
      {"video_then_audio.mp4", 2, 1, 44100, 19, 232},
      {"one_frame.mp4", 1, 0, 44100, 1, 1024},
      {"tagged_unicode.mp4", 1, 0, 44100, 10, 628},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.file);
    OpenMp4 mp4(Fixture(c.file));
    ASSERT_NE(mp4.get(), nullptr);
    EXPECT_EQ(GetTrackCount(mp4.get()), c.tracks);
    const int t = FindAacTrack(mp4.get());
    ASSERT_EQ(t, c.aacTrack);
    EXPECT_EQ(mp4.get()->tracks[static_cast<std::size_t>(t)]->kind, TRACK_AUDIO);
    EXPECT_EQ(mp4.Config(t).size(), 5u);  // AudioSpecificConfig with its SBR sync extension
    EXPECT_EQ(GetTimeScale(mp4.get(), t), c.timeScale);
    EXPECT_EQ(GetSampleCount(mp4.get(), t), c.samples);
    EXPECT_EQ(GetSampleDuration(mp4.get(), t, 0), 1024);
    EXPECT_EQ(GetSampleDuration(mp4.get(), t, c.samples - 1), c.lastDuration);
    EXPECT_EQ(GetSampleDuration(mp4.get(), t, c.samples), -1);
    for (int s = 0; s < c.samples; ++s) EXPECT_TRUE(mp4.Sample(t, s)) << s;
  }
}

TEST(Mp4ReaderTest, MoovInFrontOrAtTheEndReadsTheSameSamples) {
  OpenMp4 end(Fixture("stereo_44100_tone.mp4"));
  OpenMp4 front(Fixture("stereo_44100_tone_faststart.mp4"));
  EXPECT_EQ(end.Config(0), front.Config(0));
  for (int s = 0; s < GetSampleCount(end.get(), 0); ++s) EXPECT_EQ(end.Sample(0, s), front.Sample(0, s)) << s;
}

TEST(Mp4ReaderTest, TrackIndexOutOfRange) {
  OpenMp4 mp4(Fixture("stereo_44100_tone.mp4"));
  std::uint8_t* buffer = reinterpret_cast<std::uint8_t*>(1);
  std::uint32_t length = 7;
  EXPECT_EQ(GetDecoderConfig(mp4.get(), 1, &buffer, &length), 1);
  EXPECT_EQ(buffer, nullptr);
  EXPECT_EQ(length, 0u);
  EXPECT_EQ(GetDecoderConfig(mp4.get(), 0, &buffer, &length), 0);
  std::free(buffer);
  EXPECT_FALSE(mp4.Sample(1, 0));
  EXPECT_FALSE(mp4.Sample(0, -1));
}

TEST(Mp4ReaderTest, TextFileHasNoTracks) {
  OpenMp4 mp4(Fixture("not_mp4.mp4"));
  ASSERT_NE(mp4.get(), nullptr);
  EXPECT_EQ(GetTrackCount(mp4.get()), 0);
  EXPECT_EQ(FindAacTrack(mp4.get()), -1);
}

TEST(Mp4ReaderTest, LargeMdatBeforeMoovIsSkipped) {
  OpenMp4 real(Fixture("stereo_44100_tone.mp4"));
  AacFile file;
  file.config = real.Config(0);
  for (int s = 0; s < 5; ++s) file.frames.push_back(*real.Sample(0, s));
  file.stts = {{5, 1024}};
  file.largeMdat = true;
  auto mp4 = OpenMp4::FromBytes(file.Build());
  ASSERT_EQ(FindAacTrack(mp4.get()), 0);
  EXPECT_EQ(GetSampleCount(mp4.get(), 0), 5);
  for (int s = 0; s < 5; ++s) EXPECT_EQ(mp4.Sample(0, s), file.frames[static_cast<std::size_t>(s)]) << s;
}

TEST(Mp4ReaderTest, SampleToChunkRunsPlaceSamples) {
  std::vector<std::uint32_t> offsets;
  for (std::uint32_t k = 0; k < 10; ++k) offsets.push_back(4096 + 100 * k);
  std::string moov =
      OneTrack(Stts({{100, 1024}}) + Stsz(4, 100) + Stsc({{1, 10, 1}, {5, 7, 1}}) + Stco(offsets));
  auto mp4 = OpenMp4::FromBytes(SelfDescribing(moov, 6000));
  // Chunks 1-4 hold 10 samples each, chunk 5 on 7 each; chunk 11 would lie
  // beyond the offsets and takes the last one.
  struct {
    int sample;
    std::uint32_t offset;
  } cases[] = {{0, 4096}, {9, 4132}, {10, 4196}, {39, 4396 + 36}, {40, 4496}, {46, 4520}, {47, 4596},
               {81, 4996 + 24}, {82, 4996}};
  for (auto c : cases) EXPECT_EQ(mp4.Sample(0, c.sample), U32(c.offset)) << c.sample;
}

TEST(Mp4ReaderTest, ListedSizesAddUpWithinAChunk) {
  std::string moov = OneTrack(Stts({{4, 1024}}) + Stsz(0, 4, {4, 8, 4, 12}) + Stsc({{1, 4, 1}}) + Stco({4096}));
  auto mp4 = OpenMp4::FromBytes(SelfDescribing(moov, 4200));
  EXPECT_EQ(mp4.Sample(0, 0), U32(4096));
  EXPECT_EQ(mp4.Sample(0, 1), U32(4100) + U32(4104));
  EXPECT_EQ(mp4.Sample(0, 2), U32(4108));
  EXPECT_EQ(mp4.Sample(0, 3), U32(4112) + U32(4116) + U32(4120));
  EXPECT_FALSE(mp4.Sample(0, 4));  // beyond the size table: no size
}

TEST(Mp4ReaderTest, DurationsFollowTheTimeToSampleTable) {
  auto mp4 = OpenMp4::FromBytes(Ftyp() + OneTrack(Stts({{3, 1024}, {1, 512}})));
  EXPECT_EQ(GetSampleCount(mp4.get(), 0), 4);
  const int expected[] = {1024, 1024, 1024, 512, -1};
  for (int s = 0; s < 5; ++s) EXPECT_EQ(GetSampleDuration(mp4.get(), 0, s), expected[s]) << s;
}

TEST(Mp4ReaderTest, VersionOneMediaHeader) {
  auto mp4 = OpenMp4::FromBytes(Ftyp() + Box("moov", Trak(Mdhd(48000, 1), "")));
  EXPECT_EQ(GetTimeScale(mp4.get(), 0), 48000u);
}

// Offsets above 2 GiB and 4 GiB reach the right bytes: seeks are 64-bit. The
// file is sparse, so it takes no room on disk.
TEST(Mp4ReaderTest, SeeksPastTwoAndFourGiB) {
  TempDir dir;
  const std::uint32_t sampleAt = 0xC0000000u;  // 3 GiB
  std::string moov = OneTrack(Stts({{1, 1024}}) + Stsz(6, 1) + Stsc({{1, 1, 1}}) + Stco({sampleAt}));
  std::string path = dir.WriteFile("big.mp4", Ftyp() + moov);
  int fd = ::open(path.c_str(), O_WRONLY);
  ASSERT_GE(fd, 0);
  ASSERT_EQ(::pwrite(fd, "frame!", 6, sampleAt), 6);
  ::close(fd);
  OpenMp4 mp4(path);
  EXPECT_EQ(mp4.Sample(0, 0), "frame!");

  // A 64-bit mdat past 4 GiB, then a moov behind it.
  std::string head = Ftyp() + U32(1) + "mdat" + U64((std::uint64_t{5} << 30) - Ftyp().size());
  std::string path2 = dir.WriteFile("bigger.mp4", head);
  std::filesystem::resize_file(path2, std::uint64_t{5} << 30);
  std::ofstream(path2, std::ios::binary | std::ios::app) << OneTrack(Stts({{7, 1024}}));
  OpenMp4 mp42(path2);
  EXPECT_EQ(GetSampleCount(mp42.get(), 0), 7);
}

// Damaged and hostile files: whatever the bytes, the reader ends, stays in
// bounds and makes the broken samples unreadable.
TEST(Mp4ReaderTest, HostileFilesAreHandledSafely) {
  std::string trakWithAll = Stts({{2, 1024}}) + Stsz(0, 2, {4, 4}) + Stsc({{1, 2, 1}}) + Stco({200});
  std::string deep;
  for (std::uint32_t i = 0; i < 100000; ++i) deep += U32((100000 - i) * 8) + "moov";
  std::string manyTracks;
  for (std::uint32_t i = 0; i < 1030; ++i) manyTracks += Trak(Mdhd(1000 + i), "");

  struct Case {
    const char* name;
    std::string bytes;
    std::function<void(Mp4Reader*, const OpenMp4&)> check;
  } cases[] = {
      {"size below its header", U32(4) + "moov" + OneTrack(trakWithAll),
       [](Mp4Reader* r, const OpenMp4&) { EXPECT_EQ(GetTrackCount(r), 0); }},
      {"64-bit size past the end of numbers", U32(1) + "free" + U64(~0ull) + OneTrack(trakWithAll),
       [](Mp4Reader* r, const OpenMp4&) { EXPECT_EQ(GetTrackCount(r), 0); }},
      {"100000 nested containers", deep, [](Mp4Reader* r, const OpenMp4&) { EXPECT_EQ(GetTrackCount(r), 0); }},
      {"more than 1024 tracks", Box("moov", manyTracks),
       [](Mp4Reader* r, const OpenMp4&) {
         ASSERT_EQ(GetTrackCount(r), Mp4Reader::kMaxTracks);
         EXPECT_EQ(GetTimeScale(r, 1023), 2023u);  // later tracks change nothing
       }},
      {"table before any trak", Box("moov", Stts({{9, 1024}}) + Trak(Mdhd(44100), "")),
       [](Mp4Reader* r, const OpenMp4&) { EXPECT_EQ(GetSampleCount(r, 0), 0); }},
      {"counts far beyond their atoms",
       OneTrack(FullBox("stts", U32(0xFFFFFFFF) + U32(2) + U32(1024) + U32(1) + U32(512)) +
                FullBox("stsz", U32(0) + U32(0xFFFFFFFF) + U32(4) + U32(4) + U32(4)) +
                FullBox("stsc", U32(0xFFFFFFFF) + U32(1) + U32(10) + U32(1)) +
                FullBox("stco", U32(0xFFFFFFFF) + U32(8)) + FullBox("stsd", U32(0xFFFFFFFF))),
       [](Mp4Reader* r, const OpenMp4& mp4) {
         EXPECT_EQ(GetSampleCount(r, 0), 3);
         EXPECT_EQ(GetSampleDuration(r, 0, 2), 512);
         EXPECT_TRUE(mp4.Sample(0, 2));
         EXPECT_FALSE(mp4.Sample(0, 3));
       }},
      {"common size larger than the file",
       OneTrack(Stts({{1, 1024}}) + Stsz(0xFFFFFFFF, 1) + Stsc({{1, 1, 1}}) + Stco({8})),
       [](Mp4Reader*, const OpenMp4& mp4) {
         auto bytes = mp4.Sample(0, 0);  // what the file holds from there on
         ASSERT_TRUE(bytes);
         EXPECT_LT(bytes->size(), 1000u);
       }},
      {"sizes summing past 4 GiB",
       OneTrack(Stts({{3, 1024}}) + Stsz(0, 3, {0xFFFFFFFF, 0xFFFFFFFF, 4}) + Stsc({{1, 3, 1}}) +
                Stco({0xFFFFFFF0})),
       [](Mp4Reader*, const OpenMp4& mp4) { EXPECT_FALSE(mp4.Sample(0, 2)); }},
      {"first chunk 0", OneTrack(Stts({{2, 1024}}) + Stsz(4, 2) + Stsc({{0, 2, 1}}) + Stco({8})),
       [](Mp4Reader*, const OpenMp4& mp4) { EXPECT_FALSE(mp4.Sample(0, 0)); }},
      {"first chunks going backwards",
       SelfDescribing(OneTrack(Stts({{20, 1024}}) + Stsz(4, 20) + Stsc({{1, 2, 1}, {3, 2, 1}, {2, 2, 1}}) +
                               Stco({4096, 4196, 4296})),
                      4400),
       [](Mp4Reader*, const OpenMp4& mp4) {
         // The table is cut where it turns back; the runs before it still hold.
         EXPECT_EQ(mp4.Sample(0, 2), U32(4196));
         EXPECT_EQ(mp4.Sample(0, 5), U32(4300));
       }},
      {"no sample-to-chunk table", OneTrack(Stts({{2, 1024}}) + Stsz(4, 2) + Stco({8})),
       [](Mp4Reader*, const OpenMp4& mp4) { EXPECT_FALSE(mp4.Sample(0, 0)); }},
      {"no sizes", OneTrack(Stts({{2, 1024}}) + Stsc({{1, 2, 1}}) + Stco({8})),
       [](Mp4Reader*, const OpenMp4& mp4) { EXPECT_FALSE(mp4.Sample(0, 0)); }},
      {"decoder config longer than its atom",
       OneTrack(Stsd(Box("mp4a", std::string(28, '\0') +
                                     FullBox("esds", U8(0x03) + U8(30) + U16(1) + U8(0) + U8(0x04) + U8(20) +
                                                         std::string(13, '\0') + U8(0x05) + U8(0x7F) +
                                                         "\x12\x10")))),
       [](Mp4Reader*, const OpenMp4& mp4) { EXPECT_EQ(mp4.Config(0), "\x12\x10"); }},
      {"sample entry smaller than its header",
       OneTrack(FullBox("stsd", U32(3) + U32(4) + "mp4a" + U32(0) + U32(0))),
       [](Mp4Reader*, const OpenMp4& mp4) { EXPECT_EQ(mp4.Config(0), ""); }},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.name);
    auto mp4 = OpenMp4::FromBytes(c.bytes);
    ASSERT_NE(mp4.get(), nullptr);
    fuzzing::ExerciseReader(mp4.get());
    c.check(mp4.get(), mp4);
  }
}
