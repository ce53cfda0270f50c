#pragma once
// The loader thread's step for one found file: read it, then hand the filled
// row to the user-interface thread in one synchronous WM_APPEND_FILE_ROW.
#include "mainwnd/file_row.h"
#include "platform/core/message_target.h"

struct FileLoadTargets {
  platform::MessageTarget* mainWindow = nullptr;     // appends the row (FileListRows)
  platform::MessageTarget* loadingDialog = nullptr;  // shows "Reading  <path>"; may be null
};

// Returns the index of the new row, which is the last row of the list when the
// call returns; -1 when the main window is gone and the row was dropped.
int AddFileToList(const FoundFile& file, int* iconCache, const ExtensionTypes& types,
                  const FileLoadTargets& targets);
