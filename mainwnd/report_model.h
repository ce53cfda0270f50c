#pragma once
// The rows and columns behind the report list. Rows are held by pointer so that
// sorting and moving only shuffle pointers; texts, colours and records travel
// with their rows.
#include <QAbstractTableModel>
#include <memory>
#include <vector>

#include "mainwnd/report_row.h"

class ReportModel : public QAbstractTableModel {
  Q_OBJECT

 public:
  using QAbstractTableModel::QAbstractTableModel;
  ~ReportModel() override;

  int rowCount(const QModelIndex& parent = {}) const override;
  int columnCount(const QModelIndex& parent = {}) const override;
  QVariant data(const QModelIndex& index, int role) const override;
  QVariant headerData(int section, Qt::Orientation orientation, int role) const override;
  Qt::ItemFlags flags(const QModelIndex& index) const override;

  int RowCount() const { return static_cast<int>(m_rows.size()); }
  int ColumnCount() const { return static_cast<int>(m_columns.size()); }
  bool IsValidRow(int row) const { return row >= 0 && row < RowCount(); }
  bool IsValidColumn(int column) const { return column >= 0 && column < ColumnCount(); }
  bool IsValidCell(int row, int column) const { return IsValidRow(row) && IsValidColumn(column); }

  ReportRow& Row(int row) { return *m_rows[row]; }
  const ReportRow& Row(int row) const { return *m_rows[row]; }
  QString HeaderText(int column) const { return m_columns[column].text; }
  int ColumnFormat(int column) const { return m_columns[column].format; }

  void InsertColumn(int index, const QString& text, int format);
  // Inserts a row with default colours and the given column-0 text.
  void InsertRow(int index, const QString& text);
  // Takes a filled row (its texts and colours are fitted to the columns).
  void InsertRow(int index, std::unique_ptr<ReportRow> row);
  void RemoveRows(int first, int count);
  void RemoveAllRows();
  // Removes the rows marked in remove, in one reset of the model.
  void KeepRows(const std::vector<bool>& remove);
  // Moves one row; persistent indexes (selection, focus) follow it.
  void MoveRow(int from, int to);
  // Puts rows first..first+order.size()-1 into the given order: order[k] is the
  // old index of the row that lands at first+k. Persistent indexes follow.
  void ReorderRows(int first, const std::vector<int>& order);

  // Cell changes, announced to the views.
  void SetText(int row, int column, const QString& text);
  void NotifyCellChanged(int row, int column);
  void NotifyColoursChanged();
  void NotifyColoursChanged(int firstRow, int firstColumn, int lastRow, int lastColumn);

 private:
  struct Column {
    QString text;
    int format = 0;
  };
  void FitRow(ReportRow& row) const;

  std::vector<Column> m_columns;
  std::vector<std::unique_ptr<ReportRow>> m_rows;
};
