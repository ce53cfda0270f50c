#pragma once
// The eighteen columns of the file list.
class CReportCtrl;

enum FileColumn {
  COL_NAME = 0,
  COL_PATH,
  COL_TYPE,
  COL_TAG,
  COL_ARTIST,
  COL_ALBUM_ARTIST,
  COL_ALBUM,
  COL_TRACK,
  COL_TITLE,
  COL_GENRE,
  COL_DATE,
  COL_COMMENT,
  COL_SIZE,
  COL_MODIFIED,
  COL_DURATION,
  COL_FREQUENCY,
  COL_CHANNEL,
  COL_BITRATE,
  FILE_COLUMN_COUNT
};

struct FileColumnInfo {
  const char* heading;
  int format;  // ReportColumnFormat
  int width;   // default width in pixels
};

extern const FileColumnInfo kFileColumns[FILE_COLUMN_COUNT];

// Inserts the eighteen columns with their headings, alignments and default widths.
void InsertFileColumns(CReportCtrl& list);
