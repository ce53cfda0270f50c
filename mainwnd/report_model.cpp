#include "mainwnd/report_model.h"

#include <QBrush>
#include <QColor>
#include <algorithm>

namespace {

Qt::Alignment AlignmentOf(int format) {
  switch (format) {
    case RCF_RIGHT: return Qt::AlignRight | Qt::AlignVCenter;
    case RCF_CENTER: return Qt::AlignHCenter | Qt::AlignVCenter;
    default: return Qt::AlignLeft | Qt::AlignVCenter;
  }
}

QVariant BrushOf(ReportColour colour) {
  if (colour == kDefaultColour) return {};
  return QBrush(QColor(colour & 0xFF, (colour >> 8) & 0xFF, (colour >> 16) & 0xFF));
}

}  // namespace

ReportModel::~ReportModel() = default;

int ReportModel::rowCount(const QModelIndex& parent) const {
  return parent.isValid() ? 0 : RowCount();
}

int ReportModel::columnCount(const QModelIndex& parent) const {
  return parent.isValid() ? 0 : ColumnCount();
}

QVariant ReportModel::data(const QModelIndex& index, int role) const {
  if (!index.isValid() || !IsValidCell(index.row(), index.column())) return {};
  const ReportRow& row = *m_rows[index.row()];
  const int column = index.column();
  switch (role) {
    case Qt::DisplayRole:
    case Qt::ToolTipRole:
      return row.texts[column].isEmpty() ? QVariant() : QVariant(row.texts[column]);
    case Qt::TextAlignmentRole:
      return QVariant::fromValue(AlignmentOf(m_columns[column].format));
    case Qt::BackgroundRole:
      return BrushOf(row.data.backColours[column]);
    case Qt::ForegroundRole:
      return BrushOf(row.data.textColours[column]);
    case Qt::DecorationRole:
      return column == 0 && !row.image.isNull() ? QVariant(row.image) : QVariant();
    default:
      return {};
  }
}

QVariant ReportModel::headerData(int section, Qt::Orientation orientation, int role) const {
  if (orientation != Qt::Horizontal || !IsValidColumn(section)) return {};
  if (role == Qt::DisplayRole) return m_columns[section].text;
  if (role == Qt::TextAlignmentRole)
    return QVariant::fromValue(AlignmentOf(m_columns[section].format));
  return {};
}

Qt::ItemFlags ReportModel::flags(const QModelIndex& index) const {
  if (!index.isValid()) return Qt::ItemIsDropEnabled;
  return Qt::ItemIsEnabled | Qt::ItemIsSelectable | Qt::ItemIsDragEnabled;
}

void ReportModel::FitRow(ReportRow& row) const {
  const std::size_t n = m_columns.size();
  row.texts.resize(n);
  row.data.textColours.resize(n, kDefaultColour);
  row.data.backColours.resize(n, kDefaultColour);
}

void ReportModel::InsertColumn(int index, const QString& text, int format) {
  index = std::clamp(index, 0, ColumnCount());
  beginInsertColumns({}, index, index);
  m_columns.insert(m_columns.begin() + index, Column{text, format});
  for (auto& row : m_rows) {
    row->texts.insert(row->texts.begin() + index, QString());
    row->data.textColours.insert(row->data.textColours.begin() + index, kDefaultColour);
    row->data.backColours.insert(row->data.backColours.begin() + index, kDefaultColour);
  }
  endInsertColumns();
}

void ReportModel::InsertRow(int index, const QString& text) {
  auto row = std::make_unique<ReportRow>();
  FitRow(*row);
  if (!row->texts.empty()) row->texts[0] = text;
  InsertRow(index, std::move(row));
}

void ReportModel::InsertRow(int index, std::unique_ptr<ReportRow> row) {
  index = std::clamp(index, 0, RowCount());
  FitRow(*row);
  beginInsertRows({}, index, index);
  m_rows.insert(m_rows.begin() + index, std::move(row));
  endInsertRows();
}

void ReportModel::RemoveRows(int first, int count) {
  if (count <= 0 || first < 0 || first + count > RowCount()) return;
  beginRemoveRows({}, first, first + count - 1);
  m_rows.erase(m_rows.begin() + first, m_rows.begin() + first + count);
  endRemoveRows();
}

void ReportModel::RemoveAllRows() {
  beginResetModel();
  m_rows.clear();
  endResetModel();
}

void ReportModel::KeepRows(const std::vector<bool>& remove) {
  beginResetModel();
  std::size_t kept = 0;
  for (std::size_t i = 0; i < m_rows.size(); ++i)
    if (i >= remove.size() || !remove[i]) m_rows[kept++] = std::move(m_rows[i]);
  m_rows.resize(kept);
  endResetModel();
}

void ReportModel::MoveRow(int from, int to) {
  if (!IsValidRow(from) || !IsValidRow(to) || from == to) return;
  // Qt names the destination as the row before which the row lands.
  beginMoveRows({}, from, from, {}, to > from ? to + 1 : to);
  auto row = std::move(m_rows[from]);
  m_rows.erase(m_rows.begin() + from);
  m_rows.insert(m_rows.begin() + to, std::move(row));
  endMoveRows();
}

void ReportModel::ReorderRows(int first, const std::vector<int>& order) {
  const int n = static_cast<int>(order.size());
  if (n == 0) return;
  emit layoutAboutToBeChanged({}, QAbstractItemModel::VerticalSortHint);
  std::vector<std::unique_ptr<ReportRow>> taken(n);
  std::vector<int> newIndexOf(n);
  for (int k = 0; k < n; ++k) {
    taken[k] = std::move(m_rows[order[k]]);
    newIndexOf[order[k] - first] = first + k;
  }
  for (int k = 0; k < n; ++k) m_rows[first + k] = std::move(taken[k]);

  const QModelIndexList from = persistentIndexList();
  QModelIndexList to;
  to.reserve(from.size());
  for (const QModelIndex& index : from) {
    const int r = index.row();
    const int moved = r >= first && r < first + n ? newIndexOf[r - first] : r;
    to.append(createIndex(moved, index.column()));
  }
  changePersistentIndexList(from, to);
  emit layoutChanged({}, QAbstractItemModel::VerticalSortHint);
}

void ReportModel::SetText(int row, int column, const QString& text) {
  m_rows[row]->texts[column] = text;
  NotifyCellChanged(row, column);
}

void ReportModel::NotifyCellChanged(int row, int column) {
  const QModelIndex cell = index(row, column);
  emit dataChanged(cell, cell);
}

void ReportModel::NotifyColoursChanged() {
  NotifyColoursChanged(0, 0, RowCount() - 1, ColumnCount() - 1);
}

void ReportModel::NotifyColoursChanged(int firstRow, int firstColumn, int lastRow, int lastColumn) {
  if (firstRow > lastRow || firstColumn > lastColumn || firstRow < 0 || firstColumn < 0) return;
  emit dataChanged(index(firstRow, firstColumn), index(lastRow, lastColumn),
                   {Qt::BackgroundRole, Qt::ForegroundRole});
}
