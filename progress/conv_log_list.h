#pragma once
// The numbered, colour-coded log of a conversion run: one row per line with
// its number, the time it arrived and its text; the severity colours the text
// and every other row is tinted.
#include <QString>

class QTreeWidget;

// Columns, headers and the list's look.
void SetupLogList(QTreeWidget* list);
// Appends a line; number and time are the texts of columns 1 and 2.
void AppendLogRow(QTreeWidget* list, const QString& number, const QString& time,
                  const QString& text, int severity);
// The severity kept with a row.
int LogRowSeverity(QTreeWidget* list, int row);
