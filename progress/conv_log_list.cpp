#include "progress/conv_log_list.h"

#include <QBrush>
#include <QHeaderView>
#include <QTreeWidget>

#include "widgets/explorer_theme.h"

namespace {

const QColor kTintedRow(243, 245, 252);

QColor SeverityColour(int severity, const QColor& otherwise) {
  switch (severity) {
    case 0: return QColor(0, 0, 255);
    case 1: return QColor(153, 0, 0);
    case 2: return QColor(255, 0, 0);
    default: return otherwise;
  }
}

}  // namespace

void SetupLogList(QTreeWidget* list) {
  list->setColumnCount(4);
  list->setHeaderLabels({QString(), QStringLiteral("#"), QStringLiteral("Time"),
                         QStringLiteral("Description")});
  list->setSelectionMode(QAbstractItemView::ExtendedSelection);
  list->setSortingEnabled(false);
  ApplyExplorerTheme(list);

  QHeaderView* header = list->header();
  header->setSectionsMovable(true);
  header->setStretchLastSection(false);
  header->setMinimumSectionSize(0);
  // Column 0 carries only the severity; it has no width.
  header->resizeSection(0, 0);
  list->setColumnHidden(0, true);
  const int widths[] = {0, 55, 63, 500};
  for (int c = 1; c < 4; ++c) header->resizeSection(c, widths[c]);
  for (int c = 0; c < 3; ++c) header->setSectionResizeMode(c, QHeaderView::Fixed);
  for (int c = 1; c < 3; ++c)
    list->headerItem()->setTextAlignment(c, Qt::AlignHCenter | Qt::AlignVCenter);
}

void AppendLogRow(QTreeWidget* list, const QString& number, const QString& time,
                  const QString& text, int severity) {
  const int row = list->topLevelItemCount();
  auto* item = new QTreeWidgetItem(list);
  item->setData(0, Qt::UserRole, severity);
  item->setText(1, number);
  item->setText(2, time);
  item->setText(3, text);
  item->setToolTip(3, text);
  item->setTextAlignment(1, Qt::AlignHCenter | Qt::AlignVCenter);
  item->setTextAlignment(2, Qt::AlignHCenter | Qt::AlignVCenter);
  const QColor text0 = list->palette().color(QPalette::Text);
  const QBrush background = (row % 2) ? QBrush(kTintedRow) : QBrush(Qt::white);
  const QBrush foreground(SeverityColour(severity, text0));
  for (int c = 0; c < 4; ++c) {
    item->setBackground(c, background);
    item->setForeground(c, foreground);
  }
  list->scrollToItem(item);
}

int LogRowSeverity(QTreeWidget* list, int row) {
  QTreeWidgetItem* item = list->topLevelItem(row);
  return item ? item->data(0, Qt::UserRole).toInt() : -1;
}
