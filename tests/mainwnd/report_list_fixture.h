#pragma once
// A file list with the eighteen columns, a recording owner and rows made from
// a few tag values.
#include <gtest/gtest.h>

#include <QApplication>
#include <memory>
#include <string>
#include <vector>

#include "mainwnd/file_columns.h"
#include "mainwnd/list_messages.h"
#include "mainwnd/report_ctrl.h"
#include "platform/core/recording_target.h"

struct RowValues {
  const char* name = "a.mp4";
  const char* artist = "";
  const char* album = "";
  int track = 0;
  int total = 0;
  const char* title = "";
  bool error = false;
};

class ReportListTest : public ::testing::Test {
 protected:
  ReportListTest()
      : target([](platform::RecordedMessage& m) {
          // The edited cell's (row, column) lives only during the send.
          if (m.kind == platform::RecordedMessage::Kind::Sent && m.msg == WM_LIST_ITEM_EDITED) {
            const auto* cell = reinterpret_cast<const ListCellRef*>(m.wParam);
            m.values = {double(cell->row), double(cell->column)};
          }
        }),
        list(&target) {
    InsertFileColumns(list);
    list.resize(1000, 320);
  }

  int AddRow(const RowValues& values) {
    const int row = list.InsertItem(list.GetItemCount(), QString::fromUtf8(values.name));
    auto record = std::make_unique<AudioFileRecord>();
    record->bError = values.error;
    record->nTrack = static_cast<std::uint16_t>(values.track);
    record->nTrackTotal = static_cast<std::uint16_t>(values.total);
    record->strArtist = QString::fromUtf8(values.artist);
    record->strAlbum = QString::fromUtf8(values.album);
    record->strTitle = QString::fromUtf8(values.title);
    list.SetItemText(row, COL_PATH, QStringLiteral("/music/"));
    list.SetItemText(row, COL_ARTIST, record->strArtist);
    list.SetItemText(row, COL_ALBUM, record->strAlbum);
    list.SetItemText(row, COL_TITLE, record->strTitle);
    if (values.track > 0)
      list.SetItemText(row, COL_TRACK,
                       values.total > 0 ? QStringLiteral("%1/%2").arg(values.track).arg(values.total)
                                      : QString::number(values.track));
    list.SetItemUserData(row, std::move(record));
    return row;
  }

  std::vector<std::string> Column(int column) const {
    std::vector<std::string> out;
    for (int row = 0; row < list.GetItemCount(); ++row)
      out.push_back(list.GetItemText(row, column).toStdString());
    return out;
  }

  std::vector<platform::RecordedMessage> Sent(unsigned msg) const {
    std::vector<platform::RecordedMessage> out;
    for (const auto& m : target.Messages(platform::RecordedMessage::Kind::Sent))
      if (m.msg == msg) out.push_back(m);
    return out;
  }

  std::vector<platform::RecordedMessage> Posted(unsigned msg) const {
    std::vector<platform::RecordedMessage> out;
    for (const auto& m : target.Messages(platform::RecordedMessage::Kind::Posted))
      if (m.msg == msg) out.push_back(m);
    return out;
  }

  void ShowList() {
    list.show();
    QApplication::processEvents();
  }

  platform::RecordingTarget target;
  CReportCtrl list;
};
