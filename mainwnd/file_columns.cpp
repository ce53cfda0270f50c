#include "mainwnd/file_columns.h"

#include "mainwnd/report_ctrl.h"

const FileColumnInfo kFileColumns[FILE_COLUMN_COUNT] = {
    {"Name", RCF_LEFT, 150},       {"Path", RCF_LEFT, 150},
    {"Type", RCF_RIGHT, 65},       {"Tag", RCF_RIGHT, 100},
    {"Artist", RCF_LEFT, 110},     {"Album Artist", RCF_LEFT, 110},
    {"Album", RCF_LEFT, 110},      {"Track", RCF_RIGHT, 85},
    {"Title", RCF_LEFT, 150},      {"Genre", RCF_LEFT, 70},
    {"Date", RCF_RIGHT, 65},       {"Comment", RCF_LEFT, 110},
    {"Size(MB)", RCF_RIGHT, 85},   {"Last Modified", RCF_RIGHT, 120},
    {"Duration", RCF_RIGHT, 88},   {"Frequency", RCF_RIGHT, 96},
    {"Channel", RCF_RIGHT, 88},    {"Bitrate", RCF_RIGHT, 88},
};

void InsertFileColumns(CReportCtrl& list) {
  for (int i = 0; i < FILE_COLUMN_COUNT; ++i)
    list.InsertColumn(i, QString::fromLatin1(kFileColumns[i].heading), kFileColumns[i].format,
                      kFileColumns[i].width);
}
