#include "mainwnd/report_compare.h"

#include <algorithm>

#include "mainwnd/file_columns.h"

namespace {

template <typename T>
int CompareValues(T a, T b) {
  return a < b ? -1 : (b < a ? 1 : 0);
}

const AudioFileRecord& RecordOf(const ReportRow& row) {
  static const AudioFileRecord kEmpty;
  return row.data.pUserData ? *row.data.pUserData : kEmpty;
}

const QString& TextOf(const ReportRow& row, int column) {
  static const QString kNone;
  return column >= 0 && static_cast<std::size_t>(column) < row.texts.size() ? row.texts[column]
                                                                           : kNone;
}

}  // namespace

int CompareTextBytes(const QString& a, const QString& b) {
  // UTF-16 code units order like code points, and so like UTF-8 bytes, except
  // that surrogates (characters above U+FFFF) sort below U+E000..U+FFFF.
  // Shifting both ranges when both units are at or above U+D800 fixes that.
  const QChar* pa = a.unicode();
  const QChar* pb = b.unicode();
  const qsizetype n = std::min(a.size(), b.size());
  for (qsizetype i = 0; i < n; ++i) {
    unsigned ca = pa[i].unicode();
    unsigned cb = pb[i].unicode();
    if (ca == cb) continue;
    if (ca >= 0xD800 && cb >= 0xD800) {
      ca = ca >= 0xE000 ? ca - 0x800 : ca + 0x2000;
      cb = cb >= 0xE000 ? cb - 0x800 : cb + 0x2000;
    }
    return ca < cb ? -1 : 1;
  }
  return CompareValues(a.size(), b.size());
}

int CompareRowsByColumn(const ReportRow& a, const ReportRow& b, int column) {
  switch (column) {
    case COL_TRACK: {
      const AudioFileRecord& ra = RecordOf(a);
      const AudioFileRecord& rb = RecordOf(b);
      if (int c = CompareValues(ra.nTrack, rb.nTrack)) return c;
      return CompareValues(ra.nTrackTotal, rb.nTrackTotal);
    }
    case COL_SIZE:
      return CompareValues(RecordOf(a).fSizeMB, RecordOf(b).fSizeMB);
    case COL_FREQUENCY:
      return CompareValues(RecordOf(a).nSampleRate, RecordOf(b).nSampleRate);
    case COL_CHANNEL:
      return CompareValues(RecordOf(a).nChannels, RecordOf(b).nChannels);
    case COL_BITRATE:
      return CompareValues(static_cast<unsigned>(RecordOf(a).nBitrate),
                           static_cast<unsigned>(RecordOf(b).nBitrate));
    default:
      return CompareTextBytes(TextOf(a, column), TextOf(b, column));
  }
}

int CompareRows(const ReportRow& a, const ReportRow& b, const std::vector<ColumnSortInfo>& keys) {
  for (const ColumnSortInfo& key : keys)
    if (int c = CompareRowsByColumn(a, b, key.column)) return c;
  return 0;
}
