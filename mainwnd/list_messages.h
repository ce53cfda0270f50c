#pragma once
// Messages between the file list, its loader and the main window.
#include <atomic>

#include "platform/core/messages.h"

// Sent by the loader: the main window appends the filled row it carries
// (lParam: FileRow*, see file_row.h) and returns the new row's index.
inline constexpr unsigned WM_APPEND_FILE_ROW = platform::WM_USER + 101;
// Posted after every sort: wParam = sorted column, lParam = 1 ascending, 0 descending.
inline constexpr unsigned WM_LIST_SORTED = 0xA711;
// Sent when an in-place edit changed a cell: wParam = pointer to ListCellRef
// (valid during the call), lParam = the list control.
inline constexpr unsigned WM_LIST_ITEM_EDITED = 0xA712;

struct ListCellRef {
  int row = -1;
  int column = -1;
};

// Set while a sort rewrites the rows or while a load is being cancelled: the
// main window ignores the list's item-changed notifications, Convert and drops.
extern std::atomic<int> g_bListBusy;
