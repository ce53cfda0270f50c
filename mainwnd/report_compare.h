#pragma once
// How the file list orders two rows.
#include <QString>
#include <vector>

#include "mainwnd/column_sort_info.h"
#include "mainwnd/report_row.h"

// The order of the two texts' UTF-8 bytes, compared as unsigned bytes:
// case-sensitive, a shorter prefix first. Returns -1, 0 or 1.
int CompareTextBytes(const QString& a, const QString& b);

// Compares rows a and b by one column: the numeric columns of the audio file
// record by value, every other column by its cell texts. Returns -1, 0 or 1.
int CompareRowsByColumn(const ReportRow& a, const ReportRow& b, int column);

// Compares by the keys' columns in turn until one differs. The keys'
// directions are not applied here: the caller applies the first key's
// direction to the whole result.
int CompareRows(const ReportRow& a, const ReportRow& b, const std::vector<ColumnSortInfo>& keys);
