#pragma once
// The main window's side of the file rows: appending the rows that loaders
// hand over, removing rows, and the list's totals. User-interface thread only.
#include <QIcon>
#include <memory>

#include "mainwnd/file_row.h"
#include "platform/core/messages.h"

class CReportCtrl;

class FileListRows {
 public:
  explicit FileListRows(CReportCtrl& list) : m_list(list) {}

  // WM_APPEND_FILE_ROW: lParam points to the sender's std::unique_ptr<FileRow>,
  // which this takes. Returns the new row's index.
  platform::LRESULT OnAppendFileRow(platform::WPARAM wParam, platform::LPARAM lParam);
  // Appends the row at the end of the list and counts it in the totals.
  int Append(std::unique_ptr<FileRow> row);
  // Removes a row and its record and takes them off the totals.
  bool Remove(int row);
  // Removes every row whose state matches filter (RIS_SELECTED: the selected
  // rows) in one go; returns how many went.
  int RemoveMatching(unsigned filter);
  void RemoveAll();

  int FileCount() const { return m_nFileCount; }
  double TotalMB() const { return m_fTotalMB; }
  double TotalSeconds() const { return m_fTotalSeconds; }

 private:
  CReportCtrl& m_list;
  QIcon m_batchIcon;  // the icon looked up for the first file of the current batch
  int m_nFileCount = 0;
  double m_fTotalMB = 0.0;
  double m_fTotalSeconds = 0.0;
};
