// File rows: what a probed file shows in the list, the hand-over from the
// loader thread and the list's totals.
#include <taglib/mp4file.h>

#include <cmath>
#include <functional>

#include "engine/audio_probe.h"
#include "mainwnd/add_file_to_list.h"
#include "mainwnd/file_list_rows.h"
#include "platform/core/worker_thread.h"
#include "tests/mainwnd/report_list_fixture.h"
#include "tests/support/ui_test_support.h"
#include "tests/support/temp_dir.h"

namespace {

const ExtensionTypes kTypes = {{QStringLiteral("MP4"), FILE_TYPE_MP4}};

std::string Fixture(const std::string& name) { return TestDataDir() + "/" + name; }

void EditTag(const std::string& path, const std::function<void(TagLib::MP4::Tag&)>& edit) {
  TagLib::MP4::File file(path.c_str());
  ASSERT_TRUE(file.isValid()) << path;
  edit(*file.tag());
  file.save();
}

class FileRowsTest : public ReportListTest {
 protected:
  FileRowsTest() : rows(list) {
    target.SetSendHook([this](const platform::RecordedMessage& m) -> platform::LRESULT {
      return m.msg == WM_APPEND_FILE_ROW ? rows.OnAppendFileRow(m.wParam, m.lParam) : 0;
    });
  }

  // Copies a fixture under a new name, edits its tag, and adds it as a loader would.
  int Add(const char* fixture, const std::string& name,
          const std::function<void(TagLib::MP4::Tag&)>& edit = {}) {
    const std::string path = dir.WriteFile(name, ReadAll(Fixture(fixture)));
    if (edit) EditTag(path, edit);
    int iconCache = -1;
    return AddFileToList(FoundFileAt(path), &iconCache, kTypes, {&target, &loading});
  }

  static std::string ReadAll(const std::string& path) {
    std::FILE* f = std::fopen(path.c_str(), "rb");
    if (!f) return {};
    std::string bytes;
    char buffer[4096];
    for (std::size_t n; (n = std::fread(buffer, 1, sizeof buffer, f)) > 0;) bytes.append(buffer, n);
    std::fclose(f);
    return bytes;
  }

  std::string Cell(int row, int column) const { return list.GetItemText(row, column).toStdString(); }

  TempDir dir;
  platform::RecordingTarget loading;
  FileListRows rows;
};

TEST_F(FileRowsTest, WhatAProbedFileShows) {
  using Edit = std::function<void(TagLib::MP4::Tag&)>;
  struct Case {
    const char* what;
    const char* fixture;
    std::string name;
    Edit edit;
    std::vector<std::pair<int, std::string>> cells;
  } cases[] = {
      {"name without a dot", "tagged.mp4", "README", {},
       {{COL_TYPE, "README"}, {COL_TAG, "Mpeg4"}, {COL_ARTIST, "Test Artist"}}},
      {"track 0 of 12", "tagged.mp4", "t0.mp4",
       [](TagLib::MP4::Tag& t) { t.setItem("trkn", TagLib::MP4::Item(0, 12)); }, {{COL_TRACK, ""}}},
      {"track 7 of 0", "tagged.mp4", "t7.mp4",
       [](TagLib::MP4::Tag& t) { t.setItem("trkn", TagLib::MP4::Item(7, 0)); }, {{COL_TRACK, "7"}}},
      {"track 7 of 12", "tagged.mp4", "t712.mp4", {}, {{COL_TRACK, "7/12"}, {COL_TYPE, "MP4"}}},
      {"two artists", "tagged.mp4", "two.mp4",
       [](TagLib::MP4::Tag& t) {
         t.setItem("\xA9" "ART", TagLib::MP4::Item(TagLib::StringList(TagLib::String("A")).append("B")));
       },
       {{COL_ARTIST, "A, B"}}},
      {"mono, under a second", "mono_22050.mp4", "mono.mp4", {},
       {{COL_CHANNEL, "1 (Mono)"}, {COL_FREQUENCY, "22050 Hz"}, {COL_DURATION, ""}, {COL_TAG, ""}}},
      {"stereo, one second", "stereo_44100_tone.mp4", "stereo.mp4", {},
       {{COL_CHANNEL, "2 (Stereo)"}, {COL_FREQUENCY, "44100 Hz"}, {COL_DURATION, "00:00:01"}}},
      {"six channels", "six_channels_48000.mp4", "six.mp4", {},
       {{COL_CHANNEL, "6"}, {COL_FREQUENCY, "48000 Hz"}}},
      {"unreadable", "not_mp4.mp4", "bad.mp4", {},
       {{COL_TYPE, "Unknown"}, {COL_DURATION, ""}, {COL_FREQUENCY, ""}, {COL_CHANNEL, ""}}},
  };
  for (const auto& c : cases) {
    const int row = Add(c.fixture, c.name, c.edit);
    ASSERT_EQ(row, list.GetItemCount() - 1) << c.what;
    EXPECT_EQ(Cell(row, COL_NAME), c.name) << c.what;
    EXPECT_EQ(Cell(row, COL_PATH), dir.path() + "/") << c.what;
    for (const auto& [column, text] : c.cells) EXPECT_EQ(Cell(row, column), text) << c.what << " column " << column;
  }

  const AudioFileRecord* readme = list.GetItemUserData(0);
  EXPECT_EQ(readme->nType, 0);
  EXPECT_EQ(readme->nFlags, FILE_HAS_MP4_TAG);
  EXPECT_FALSE(readme->bError);
  const AudioFileRecord* t0 = list.GetItemUserData(1);
  EXPECT_EQ(t0->nTrack, 0);
  EXPECT_EQ(t0->nTrackTotal, 0);
  EXPECT_EQ(list.GetItemUserData(3)->nTrack, 7);
  EXPECT_EQ(list.GetItemUserData(3)->nTrackTotal, 12);
  EXPECT_EQ(list.GetItemUserData(4)->strArtist, QStringLiteral("A, B"));
  const AudioFileRecord* mono = list.GetItemUserData(5);
  EXPECT_FALSE(mono->bError);  // short but valid
  EXPECT_GT(mono->fDuration, 0.0);
  EXPECT_LT(mono->fDuration, 1.0);
  const AudioFileRecord* bad = list.GetItemUserData(8);
  EXPECT_TRUE(bad->bError);
  EXPECT_EQ(list.GetCellTextColour(8, COL_TYPE), Rgb(255, 0, 0));
  EXPECT_EQ(list.GetCellTextColour(7, COL_TYPE), kDefaultColour);
}

TEST_F(FileRowsTest, Mp4BitRatesShowTimes1024) {
  const int mp4 = Add("stereo_44100_tone.mp4", "tone.mp4");
  const int other = Add("stereo_44100_tone.mp4", "tone.m4a");
  const int kbps = ProbeAudioSource(Fixture("stereo_44100_tone.mp4")).bitrate;
  ASSERT_GT(kbps, 0);
  const int shown = static_cast<int>(std::floor(kbps * 1.024 + 0.5));
  EXPECT_GT(shown, kbps);
  EXPECT_EQ(list.GetItemUserData(mp4)->nBitrate, shown);
  EXPECT_EQ(Cell(mp4, COL_BITRATE), std::to_string(shown) + " kbps");
  EXPECT_EQ(list.GetItemUserData(other)->nBitrate, kbps);
  EXPECT_EQ(Cell(other, COL_BITRATE), std::to_string(kbps) + " kbps");
  EXPECT_EQ(Cell(Add("not_mp4.mp4", "text.mp4"), COL_BITRATE), "");
}

TEST_F(FileRowsTest, LoaderThreadHandsOverWholeRowsAndTotalsReturnToZero) {
  const char* fixtures[] = {"tagged.mp4", "tagged_unicode.mp4", "mono_22050.mp4", "not_mp4.mp4",
                            "stereo_44100_tone.mp4", "six_channels_48000.mp4", "video_then_audio.mp4"};
  std::vector<std::string> paths;
  for (const char* f : fixtures) paths.push_back(dir.WriteFile(f, ReadAll(Fixture(f))));

  std::vector<int> indexes;
  auto loader = platform::WorkerThread::Create([&] {
    int iconCache = -1;
    for (const auto& path : paths)
      indexes.push_back(AddFileToList(FoundFileAt(path), &iconCache, kTypes, {&target, &loading}));
    return 0u;
  });
  loader->Start();
  ASSERT_TRUE(loader->Wait(platform::INFINITE));  // serves the sends meanwhile

  ASSERT_EQ(list.GetItemCount(), int(paths.size()));
  for (std::size_t i = 0; i < paths.size(); ++i) {
    EXPECT_EQ(indexes[i], int(i));
    EXPECT_EQ(Cell(int(i), COL_NAME), fixtures[i]);
  }
  const auto captions = loading.Messages(platform::RecordedMessage::Kind::WindowText);
  ASSERT_EQ(captions.size(), paths.size());
  EXPECT_EQ(captions[0].text, "Reading  " + paths[0]);
  for (const auto& m : target.Messages(platform::RecordedMessage::Kind::Sent))
    EXPECT_TRUE(m.onOwnerThread);
  EXPECT_EQ(Cell(1, COL_ARTIST), "坂本 🎹 Ryūichi");

  double mb = 0, seconds = 0;
  for (int row = 0; row < list.GetItemCount(); ++row) {
    mb += list.GetItemUserData(row)->fSizeMB;
    seconds += list.GetItemUserData(row)->fDuration;
  }
  EXPECT_EQ(rows.FileCount(), int(paths.size()));
  EXPECT_DOUBLE_EQ(rows.TotalMB(), mb);
  EXPECT_DOUBLE_EQ(rows.TotalSeconds(), seconds);
  EXPECT_GT(seconds, 2.0);

  list.SetSortable(true);
  list.SetSortKeys({{COL_NAME, 1}});
  list.SortItems(0, list.GetItemCount() - 1, true);
  list.SetHeaderImage(COL_NAME, 1);
  list.resize(1960, 200);
  ShowList();
  SaveScreenshot(&list, QStringLiteral("list-from-fixtures"));

  list.SetItemStates(1, RIS_SELECTED);
  list.SetItemStates(4, RIS_SELECTED);
  const double gone = list.GetItemUserData(1)->fSizeMB + list.GetItemUserData(4)->fSizeMB;
  EXPECT_EQ(rows.RemoveMatching(RIS_SELECTED), 2);
  EXPECT_EQ(rows.FileCount(), int(paths.size()) - 2);
  EXPECT_NEAR(rows.TotalMB(), mb - gone, 1e-9);
  while (list.GetItemCount() > 0) ASSERT_TRUE(rows.Remove(list.GetItemCount() / 2));
  EXPECT_EQ(rows.FileCount(), 0);
  EXPECT_NEAR(rows.TotalMB(), 0.0, 1e-9);
  EXPECT_NEAR(rows.TotalSeconds(), 0.0, 1e-9);
}

TEST_F(FileRowsTest, RowsToAGoneWindowAreFreedByTheLoader) {
  platform::RecordingTarget ignoring;  // takes nothing out of the slot
  int iconCache = -1;
  const std::string path = dir.WriteFile("x.mp4", ReadAll(Fixture("mono_22050.mp4")));
  EXPECT_EQ(AddFileToList(FoundFileAt(path), &iconCache, kTypes, {&ignoring, nullptr}), -1);
  EXPECT_EQ(AddFileToList(FoundFileAt(path), &iconCache, kTypes, {}), -1);
  EXPECT_EQ(list.GetItemCount(), 0);
}

}  // namespace
