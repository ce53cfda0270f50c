#pragma once
// One row of the report list as its model holds it.
#include <QIcon>
#include <QString>
#include <vector>

#include "mainwnd/report_item_data.h"

struct ReportRow {
  std::vector<QString> texts;  // one per column
  ReportItemData data;
  QIcon image;                 // shown in column 0
  bool checked = false;
};
