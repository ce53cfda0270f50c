#include "mainwnd/file_list_rows.h"

#include <QFileIconProvider>
#include <QFileInfo>

#include "mainwnd/file_columns.h"
#include "mainwnd/report_ctrl.h"

platform::LRESULT FileListRows::OnAppendFileRow(platform::WPARAM, platform::LPARAM lParam) {
  auto* slot = reinterpret_cast<std::unique_ptr<FileRow>*>(lParam);
  if (!slot || !*slot) return -1;
  return Append(std::move(*slot));
}

int FileListRows::Append(std::unique_ptr<FileRow> row) {
  if (!row->iconPath.isEmpty()) m_batchIcon = QFileIconProvider().icon(QFileInfo(row->iconPath));
  const bool error = row->record->bError != 0;
  ++m_nFileCount;
  m_fTotalMB += row->record->fSizeMB;
  m_fTotalSeconds += row->record->fDuration;
  const int index =
      m_list.InsertItem(m_list.GetItemCount(), std::move(row->texts), std::move(row->record));
  m_list.SetItemImage(index, m_batchIcon);
  if (error) m_list.SetCellTextColour(index, COL_TYPE, Rgb(255, 0, 0), true);
  return index;
}

bool FileListRows::Remove(int row) {
  const AudioFileRecord* record = m_list.GetItemUserData(row);
  if (!record) return false;
  m_fTotalMB -= record->fSizeMB;
  m_fTotalSeconds -= record->fDuration;
  --m_nFileCount;
  return m_list.DeleteItem(row, false);
}

int FileListRows::RemoveMatching(unsigned filter) {
  for (int row = m_list.GetNextItem(-1, filter); row >= 0; row = m_list.GetNextItem(row, filter)) {
    if (const AudioFileRecord* record = m_list.GetItemUserData(row)) {
      m_fTotalMB -= record->fSizeMB;
      m_fTotalSeconds -= record->fDuration;
      --m_nFileCount;
    }
  }
  return m_list.DeleteItems(filter);
}

void FileListRows::RemoveAll() {
  m_list.DeleteItems(RIS_ALL);
  m_nFileCount = 0;
  m_fTotalMB = 0.0;
  m_fTotalSeconds = 0.0;
}
