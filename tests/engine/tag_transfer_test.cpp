// The tag step on MP3 files the encoder wrote, read back with TagLib.
#include <gtest/gtest.h>
#include <taglib/apetag.h>
#include <taglib/commentsframe.h>
#include <taglib/id3v1tag.h>
#include <taglib/id3v2tag.h>
#include <taglib/mpegfile.h>

#include <map>

#include "engine/run_messages.h"
#include "engine/tag_transfer.h"
#include "tests/encoder/mp3_probe.h"
#include "tests/engine/stage_harness.h"
#include "tests/support/temp_dir.h"

namespace {

using Lines = std::vector<std::pair<std::string, int>>;

TagLib::String U(const std::string& s) { return TagLib::String(s, TagLib::String::UTF8); }

// Frame id -> text of every frame of the file's ID3v2 tag, in order.
std::vector<std::pair<std::string, std::string>> Id3v2Frames(TagLib::MPEG::File& file) {
  std::vector<std::pair<std::string, std::string>> frames;
  for (auto* frame : file.ID3v2Tag()->frameList())
    frames.emplace_back(std::string(frame->frameID().data(), frame->frameID().size()),
                        frame->toString().to8Bit(true));
  return frames;
}

const std::string kEncoderText = "Korvane\r\nhttps://korvane.org";
const ToneSource kTone{44100, 2, 22050};

// Every text makes it: all characters in ID3v2, ISO-8859-1 or '?' in ID3v1,
// and the audio with its information header stays as it was.
TEST(TagTransfer, TaggedSourceGetsBothTags) {
  SettingsScope settings;
  TempDir dir;
  StageRun stages;
  TagTexts tags{"Sigur Rós 🎸", "Ünïcode Ensemble", "𠀋 Album", "7/12", "Title ✓",
                "Post-Rock",   "2009-05-01",       "Comment 😀 ünd mehr"};
  CConversionTask task = stages.MakeTask(kTone, dir.path() + "/", "tagged.mp4", FILE_HAS_MP4_TAG, tags);
  stages.Run(&task, kTone);
  EXPECT_TRUE(stages.Log().empty());

  {
    TagLib::MPEG::File file(task.m_strDest.c_str(), false);
    ASSERT_TRUE(file.hasID3v2Tag());
    ASSERT_TRUE(file.hasID3v1Tag());
    EXPECT_FALSE(file.hasAPETag());
    EXPECT_EQ(file.ID3v2Tag()->header()->majorVersion(), 4u);
    using Frames = std::vector<std::pair<std::string, std::string>>;
    EXPECT_EQ(Id3v2Frames(file), (Frames{{"TPE1", tags.artist},
                                         {"TPE2", tags.albumArtist},
                                         {"TALB", tags.album},
                                         {"TRCK", "7/12"},
                                         {"TIT2", tags.title},
                                         {"TCON", tags.genre},
                                         {"TDRC", "2009-05-01"},
                                         {"COMM", tags.comment},
                                         {"TENC", kEncoderText}}));
    EXPECT_EQ(file.ID3v2Tag()->comment(), U(tags.comment));
    TagLib::ID3v1::Tag* v1 = file.ID3v1Tag();
    EXPECT_EQ(v1->artist(), U("Sigur Rós ?"));
    EXPECT_EQ(v1->album(), U("? Album"));
    EXPECT_EQ(v1->title(), U("Title ?"));
    EXPECT_EQ(v1->comment(), U("Comment ? ünd mehr"));
    EXPECT_EQ(v1->track(), 7u);
    EXPECT_EQ(v1->year(), 2009u);
  }
  Mp3Contents mp3 = ReadMp3(task.m_strDest);
  EXPECT_GT(mp3.id3v2Size, 0u);
  EXPECT_TRUE(mp3.id3v1);
  EXPECT_EQ(mp3.infoId, "Info");
  EXPECT_EQ(mp3.decodedLength, 22050);
}

class TagTransferOnFile : public testing::Test {
 protected:
  static void SetUpTestSuite() {
    SettingsScope settings;
    TempDir dir;
    StageRun stages;
    CConversionTask task = stages.MakeTask(kTone, dir.path() + "/", "base.mp4");
    stages.Run(&task, kTone);
    s_audio = new std::string(dir.ReadFile("base.mp3"));
  }
  static void TearDownTestSuite() { delete s_audio; }

  // A copy of the untagged encoder output with the given tags in place.
  CConversionTask TaskOnCopy(std::uint8_t flags, const TagTexts& tags) {
    CConversionTask task;
    task.m_strDest = m_dir.WriteFile("copy.mp3", *s_audio);
    task.m_nFlags = flags;
    task.SetTags(tags);
    return task;
  }

  static std::string* s_audio;
  TempDir m_dir;
  StageRun m_stages;  // receives the log
};
std::string* TagTransferOnFile::s_audio = nullptr;

// Without an MP4 tag the file ends up with no tag at all, whatever it had.
TEST_F(TagTransferOnFile, UntaggedSourceLeavesNoTag) {
  CConversionTask task = TaskOnCopy(0, {});
  {
    TagLib::MPEG::File file(task.m_strDest.c_str(), false);
    file.ID3v2Tag(true)->setTitle("old");
    file.ID3v1Tag(true)->setTitle("old");
    file.APETag(true)->setTitle("old");
    ASSERT_TRUE(file.save(TagLib::MPEG::File::AllTags, TagLib::File::StripNone));
  }
  EXPECT_EQ(WriteTags(&task), 1);
  TagLib::MPEG::File file(task.m_strDest.c_str(), false);
  EXPECT_FALSE(file.hasID3v2Tag());
  EXPECT_FALSE(file.hasID3v1Tag());
  EXPECT_FALSE(file.hasAPETag());
  EXPECT_EQ(m_dir.ReadFile("copy.mp3"), *s_audio);
  EXPECT_TRUE(m_stages.Log().empty());
}

// Empty texts leave their frames out; the ID3v1 numbers fall back to 0.
TEST_F(TagTransferOnFile, TitleOnly) {
  TagTexts tags;
  tags.title = "Only";
  CConversionTask task = TaskOnCopy(FILE_HAS_MP4_TAG, tags);
  EXPECT_EQ(WriteTags(&task), 1);
  TagLib::MPEG::File file(task.m_strDest.c_str(), false);
  using Frames = std::vector<std::pair<std::string, std::string>>;
  EXPECT_EQ(Id3v2Frames(file), (Frames{{"TIT2", "Only"}, {"TENC", kEncoderText}}));
  EXPECT_EQ(file.ID3v1Tag()->title(), "Only");
  EXPECT_EQ(file.ID3v1Tag()->artist(), "");
  EXPECT_EQ(file.ID3v1Tag()->track(), 0u);
  EXPECT_EQ(file.ID3v1Tag()->year(), 0u);
}

// The ID3v1 numbers are read the way a base-10 conversion reads text.
TEST_F(TagTransferOnFile, Id3v1Numbers) {
  struct Case { const char* track; const char* date; unsigned v1Track, v1Year; };
  const Case cases[] = {{"7/12", "2009-05-01", 7, 2009}, {" 12", "1999", 12, 1999},
                        {"x/3", "circa 1990", 0, 0},     {"-4", "-20", 0, 0}};
  for (const auto& c : cases) {
    TagTexts tags;
    tags.track = c.track;
    tags.date = c.date;
    CConversionTask task = TaskOnCopy(FILE_HAS_MP4_TAG, tags);
    EXPECT_EQ(WriteTags(&task), 1);
    TagLib::MPEG::File file(task.m_strDest.c_str(), false);
    EXPECT_EQ(file.ID3v1Tag()->track(), c.v1Track) << c.track;
    EXPECT_EQ(file.ID3v1Tag()->year(), c.v1Year) << c.date;
    EXPECT_EQ(file.ID3v2Tag()->frameListMap()["TRCK"].front()->toString(), c.track);
  }
}

TEST_F(TagTransferOnFile, MissingFileIsReported) {
  CConversionTask task = TaskOnCopy(FILE_HAS_MP4_TAG, {});
  task.m_strDest = m_dir.path() + "/gone 100%s.mp3";
  EXPECT_EQ(WriteTags(&task), 0);
  EXPECT_EQ(m_stages.Log(), (Lines{{"Fail to write tag!" + task.m_strDest, 2}}));
  EXPECT_EQ(m_stages.run.m_bRunning.load(), 1);  // the run goes on
}

}  // namespace
