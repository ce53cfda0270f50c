#include "mainwnd/add_file_to_list.h"

#include "mainwnd/list_messages.h"

int AddFileToList(const FoundFile& file, int* iconCache, const ExtensionTypes& types,
                  const FileLoadTargets& targets) {
  if (targets.loadingDialog) targets.loadingDialog->SetWindowText("Reading  " + file.path);
  std::unique_ptr<FileRow> row = MakeFileRow(file, iconCache, types);
  if (!targets.mainWindow) return -1;
  // The window takes the row out of this slot; whatever is left (a window that
  // went away) is freed here.
  const platform::LRESULT index = targets.mainWindow->SendMessage(
      WM_APPEND_FILE_ROW, 0, reinterpret_cast<platform::LPARAM>(&row));
  return row ? -1 : static_cast<int>(index);
}
