// The file list with 20,000 rows: how long inserting and sorting take and how
// much memory a row costs. Targets: insert under 2 s, one sort under 300 ms.
#include <malloc.h>

#include <QApplication>
#include <chrono>
#include <cstdio>
#include <memory>
#include <random>
#include <string>
#include <vector>

#include "mainwnd/file_columns.h"
#include "mainwnd/file_list_rows.h"
#include "mainwnd/list_messages.h"
#include "mainwnd/report_ctrl.h"
#include "platform/core/recording_target.h"
#include "platform/core/worker_thread.h"

namespace {

constexpr int kRows = 20000;
using Clock = std::chrono::steady_clock;

double MsSince(Clock::time_point start) {
  return std::chrono::duration<double, std::milli>(Clock::now() - start).count();
}

std::size_t HeapInUse() { return mallinfo2().uordblks; }

struct Words {
  std::mt19937 rng{20240607};
  std::vector<QString> pool;
  Words() {
    const char* syllables[] = {"ka", "lo", "mi", "ren", "sa", "to", "vu", "zel", "an", "dor",
                               "Be", "Qu", "Ha", "Mo", "Ti", "éo", "ñu", "ro", "la", "xi"};
    std::uniform_int_distribution<int> pick(0, 19), length(2, 5);
    for (int i = 0; i < 2000; ++i) {
      QString word;
      for (int n = length(rng); n > 0; --n) word += QString::fromUtf8(syllables[pick(rng)]);
      pool.push_back(word);
    }
  }
  QString Phrase(int words) {
    std::uniform_int_distribution<std::size_t> pick(0, pool.size() - 1);
    QString text = pool[pick(rng)];
    for (int i = 1; i < words; ++i) text += QLatin1Char(' ') + pool[pick(rng)];
    return text;
  }
  int Number(int lo, int hi) { return std::uniform_int_distribution<int>(lo, hi)(rng); }
};

void FillRow(CReportCtrl& list, Words& words, int i) {
  const QString title = words.Phrase(3);
  const int row = list.InsertItem(list.GetItemCount(), title + QStringLiteral(".mp4"));
  auto record = std::make_unique<AudioFileRecord>();
  record->nType = 1;
  record->nFlags = 0x20;
  record->strArtist = words.Phrase(2);
  record->strAlbumArtist = record->strArtist;
  record->strAlbum = words.Phrase(2);
  record->nTrack = static_cast<std::uint16_t>(words.Number(1, 20));
  record->nTrackTotal = static_cast<std::uint16_t>(words.Number(record->nTrack, 24));
  record->strTrack = QStringLiteral("%1/%2").arg(record->nTrack).arg(record->nTrackTotal);
  record->strTitle = title;
  record->strGenre = words.Phrase(1);
  record->strDate = QString::number(words.Number(1960, 2024));
  record->nSampleRate = words.Number(0, 1) ? 44100 : 48000;
  record->nChannels = 2;
  record->fDuration = words.Number(60, 600);
  record->fSizeMB = record->fDuration * 0.016;
  record->nBitrate = 131;
  list.SetItemText(row, COL_PATH, QStringLiteral("/home/user/Music/%1/%2/").arg(record->strArtist, record->strAlbum));
  list.SetItemText(row, COL_TYPE, QStringLiteral("MP4"));
  list.SetItemText(row, COL_TAG, QStringLiteral("Mpeg4"));
  list.SetItemText(row, COL_ARTIST, record->strArtist);
  list.SetItemText(row, COL_ALBUM_ARTIST, record->strAlbumArtist);
  list.SetItemText(row, COL_ALBUM, record->strAlbum);
  list.SetItemText(row, COL_TRACK, record->strTrack);
  list.SetItemText(row, COL_TITLE, record->strTitle);
  list.SetItemText(row, COL_GENRE, record->strGenre);
  list.SetItemText(row, COL_DATE, record->strDate);
  list.SetItemText(row, COL_COMMENT, i % 4 ? QString() : words.Phrase(4));
  list.SetItemNumber(row, COL_SIZE, record->fSizeMB, 2);
  list.SetItemText(row, COL_MODIFIED, QStringLiteral("2024/06/07 12:34:56"));
  const int s = static_cast<int>(record->fDuration);
  list.SetItemText(row, COL_DURATION, QString::asprintf("%02d:%02d:%02d", s / 3600, s % 3600 / 60, s % 60));
  list.SetItemText(row, COL_FREQUENCY, QStringLiteral("%1 Hz").arg(record->nSampleRate));
  list.SetItemText(row, COL_CHANNEL, QStringLiteral("2 (Stereo)"));
  list.SetItemText(row, COL_BITRATE, QStringLiteral("131 kbps"));
  list.SetItemUserData(row, std::move(record));
}

// A row as a loader thread fills it, without the file reading.
std::unique_ptr<FileRow> MadeRow(Words& words, int i) {
  auto row = std::make_unique<FileRow>();
  row->texts.resize(FILE_COLUMN_COUNT);
  row->record = std::make_unique<AudioFileRecord>();
  row->record->fSizeMB = 3.5;
  row->record->fDuration = 200;
  const QString title = words.Phrase(3);
  row->texts[COL_NAME] = title + QStringLiteral(".mp4");
  row->texts[COL_PATH] = QStringLiteral("/home/user/Music/");
  for (int c : {COL_ARTIST, COL_ALBUM_ARTIST, COL_ALBUM, COL_GENRE}) row->texts[c] = words.Phrase(2);
  row->texts[COL_TITLE] = title;
  row->texts[COL_TYPE] = QStringLiteral("MP4");
  row->texts[COL_SIZE] = QStringLiteral("3.50");
  row->texts[COL_TRACK] = QString::number(i % 20 + 1);
  if (i % 1000 == 0) row->iconPath = QStringLiteral("/home/user/Music/x.mp4");
  return row;
}

// Rows handed over from a loader thread, one synchronous WM_APPEND_FILE_ROW
// each, while this thread serves the sends.
double TimedHandOver(CReportCtrl& list, Words& words) {
  FileListRows rows(list);
  platform::RecordingTarget window;
  window.SetSendHook([&](const platform::RecordedMessage& m) -> platform::LRESULT {
    return m.msg == WM_APPEND_FILE_ROW ? rows.OnAppendFileRow(m.wParam, m.lParam) : 0;
  });
  std::vector<std::unique_ptr<FileRow>> made;
  for (int i = 0; i < kRows; ++i) made.push_back(MadeRow(words, i));
  const auto start = Clock::now();
  auto loader = platform::WorkerThread::Create([&] {
    for (auto& row : made)
      window.SendMessage(WM_APPEND_FILE_ROW, 0, reinterpret_cast<platform::LPARAM>(&row));
    return 0u;
  });
  loader->Start();
  loader->Wait(platform::INFINITE);
  QApplication::processEvents();
  const double ms = MsSince(start);
  window.Clear();
  return ms;
}

double TimedClick(CReportCtrl& list, int column) {
  const auto start = Clock::now();
  list.OnColumnClick(column);
  QApplication::processEvents();  // the repaint that follows belongs to the sort
  return MsSince(start);
}

}  // namespace

int main(int argc, char** argv) {
  if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM")) qputenv("QT_QPA_PLATFORM", "offscreen");
  QApplication app(argc, argv);
  CReportCtrl list(nullptr);
  InsertFileColumns(list);
  list.SetSortable(true);
  list.SetSortKeys({{COL_NAME, 1}});
  list.resize(1400, 900);
  list.show();
  QApplication::processEvents();

  Words words;
  const std::size_t heapBefore = HeapInUse();
  auto start = Clock::now();
  list.SetRedraw(false);  // as the loader does
  for (int i = 0; i < kRows; ++i) FillRow(list, words, i);
  list.SetRedraw(true);
  QApplication::processEvents();
  const double insertMs = MsSince(start);
  const double bytesPerRow = double(HeapInUse() - heapBefore) / kRows;

  struct Sort {
    const char* what;
    int column;
  } sorts[] = {
      {"Artist (text), ascending", COL_ARTIST},  {"Artist (text), descending", COL_ARTIST},
      {"Title (text), ascending", COL_TITLE},    {"Track (number), ascending", COL_TRACK},
      {"Track (number), descending", COL_TRACK}, {"Name (text), ascending", COL_NAME},
  };
  std::printf("File list, %d rows x %d columns\n", kRows, list.GetColumnCount());
  std::printf("  insert (InsertItem + 17 cells + record each): %8.1f ms   (target < 2000 ms)\n", insertMs);
  std::printf("  heap per row:                                 %8.0f bytes\n", bytesPerRow);
  double worst = 0;
  for (const Sort& sort : sorts) {
    const double ms = TimedClick(list, sort.column);
    worst = std::max(worst, ms);
    std::printf("  sort by %-28s          %8.1f ms   (target < 300 ms)\n", sort.what, ms);
  }
  // Every second row selected: 10,000 separate selection ranges.
  for (int row = 0; row < kRows; row += 2) list.SetItemStates(row, RIS_SELECTED);
  start = Clock::now();
  const int selected = list.GetItemCount(RIS_SELECTED);
  int walked = 0;
  for (int row = list.GetNextItem(-1, RIS_SELECTED); row >= 0; row = list.GetNextItem(row, RIS_SELECTED))
    ++walked;
  std::printf("  count and walk %d (%d) selected rows:        %8.1f ms\n", selected, walked, MsSince(start));
  start = Clock::now();
  list.DeleteItems(RIS_SELECTED);
  QApplication::processEvents();
  std::printf("  delete every second row (selected):          %8.1f ms\n", MsSince(start));
  start = Clock::now();
  list.DeleteItems(RIS_ALL);
  QApplication::processEvents();
  std::printf("  delete all rows:                              %8.1f ms\n", MsSince(start));
  const double handOverMs = TimedHandOver(list, words);
  std::printf("  hand-over of %d filled rows from a loader:   %8.1f ms   (%.1f us a row)\n", kRows,
              handOverMs, handOverMs * 1000 / kRows);
  const bool ok = insertMs < 2000 && worst < 300;
  std::printf("%s\n", ok ? "targets met" : "TARGETS MISSED");
  return ok ? 0 : 1;
}
