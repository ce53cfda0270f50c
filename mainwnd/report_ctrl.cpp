#include "mainwnd/report_ctrl.h"

#include <QHeaderView>
#include <QItemSelectionModel>
#include <QScrollBar>
#include <charconv>

#include "mainwnd/list_messages.h"
#include "mainwnd/report_compare.h"
#include "mainwnd/report_model.h"
#include "mainwnd/report_sort.h"

namespace {

// Row backgrounds: alternating bands, a deeper tint in the sort column, pink
// for files that could not be read.
constexpr ReportColour kErrorBack = Rgb(255, 225, 241);
constexpr ReportColour kOddSortBack = Rgb(235, 238, 250);
constexpr ReportColour kOddBack = Rgb(243, 245, 252);
constexpr ReportColour kEvenSortBack = Rgb(247, 248, 253);
constexpr ReportColour kEvenBack = Rgb(255, 255, 255);

// Locale-independent: the list shows "12.5" whatever the desktop's locale.
QString FormatNumber(double value, int precision) {
  char buffer[512];
  std::to_chars_result r;
  if (precision >= 0)
    r = std::to_chars(buffer, buffer + sizeof buffer, value, std::chars_format::fixed, precision);
  else
    r = std::to_chars(buffer, buffer + sizeof buffer, value, std::chars_format::fixed, 6);
  if (r.ec != std::errc()) return {};
  std::string text(buffer, r.ptr);
  if (precision < 0 && text.find('.') != std::string::npos) {
    while (!text.empty() && text.back() == '0') text.pop_back();
    if (!text.empty() && text.back() == '.') text.pop_back();
  }
  return QString::fromLatin1(text.data(), static_cast<qsizetype>(text.size()));
}

}  // namespace

CReportCtrl::CReportCtrl(platform::MessageTarget* parentTarget, QWidget* parent)
    : QTreeView(parent), m_pParent(parentTarget), m_pModel(new ReportModel(this)) {
  setModel(m_pModel);
  setRootIsDecorated(false);
  setItemsExpandable(false);
  setUniformRowHeights(true);
  setAllColumnsShowFocus(true);
  setSelectionMode(QAbstractItemView::ExtendedSelection);
  setSelectionBehavior(QAbstractItemView::SelectRows);
  setEditTriggers(QAbstractItemView::NoEditTriggers);
  setHorizontalScrollBarPolicy(Qt::ScrollBarAsNeeded);
  setVerticalScrollBarPolicy(Qt::ScrollBarAsNeeded);
  setTextElideMode(Qt::ElideRight);

  QHeaderView* head = header();
  head->setStretchLastSection(false);
  head->setSectionsClickable(false);
  head->setFirstSectionMovable(true);
  head->setHighlightSections(false);
  head->setDefaultAlignment(Qt::AlignLeft | Qt::AlignVCenter);
  head->installEventFilter(this);
  connect(head, &QHeaderView::sectionClicked, this, &CReportCtrl::OnColumnClick);
  connect(head, &QHeaderView::sectionMoved, this, &CReportCtrl::OnSectionMoved);
  // Tracking a divider cancels an open edit.
  connect(head, &QHeaderView::sectionResized, this, [this] {
    if (!m_bMovingColumns) EndEdit(false);
  });
  connect(verticalScrollBar(), &QScrollBar::valueChanged, this, [this] { EndEdit(false); });
  connect(horizontalScrollBar(), &QScrollBar::valueChanged, this, [this] { EndEdit(false); });

  // The cached state words go stale with any change of rows, selection or focus.
  const auto stale = [this] { m_bStatesValid = false; };
  connect(selectionModel(), &QItemSelectionModel::selectionChanged, this, stale);
  connect(selectionModel(), &QItemSelectionModel::currentChanged, this, stale);
  connect(m_pModel, &QAbstractItemModel::rowsInserted, this, stale);
  connect(m_pModel, &QAbstractItemModel::rowsRemoved, this, stale);
  connect(m_pModel, &QAbstractItemModel::rowsMoved, this, stale);
  connect(m_pModel, &QAbstractItemModel::layoutChanged, this, stale);
  connect(m_pModel, &QAbstractItemModel::modelReset, this, stale);

  m_editDelay.setSingleShot(true);
  connect(&m_editDelay, &QTimer::timeout, this, [this] {
    const int row = m_nPendingEditItem;
    const int column = m_nPendingEditSubItem;
    m_nPendingEditItem = m_nPendingEditSubItem = -1;
    if (m_bEditEnabled && m_pModel->IsValidCell(row, column) && (GetItemState(row) & RIS_SELECTED))
      BeginEdit(row, column);
  });
  m_hintTimer.setSingleShot(true);
  connect(&m_hintTimer, &QTimer::timeout, viewport(), qOverload<>(&QWidget::update));
}

CReportCtrl::~CReportCtrl() {
  // Rows go before the editor so that no commit can reach a half-destroyed list.
  m_nEditItem = m_nEditSubItem = -1;
  m_pModel->RemoveAllRows();
}

// ---- Rows -------------------------------------------------------------------

int CReportCtrl::InsertItem(int row, const QString& text) {
  EndEdit(true);
  row = std::clamp(row, 0, m_pModel->RowCount());
  m_pModel->InsertRow(row, text);
  if (m_pModel->RowCount() == 1) viewport()->update();  // the hint goes
  return row;
}

int CReportCtrl::InsertItem(int row, std::vector<QString> texts,
                            std::unique_ptr<AudioFileRecord> record) {
  EndEdit(true);
  row = std::clamp(row, 0, m_pModel->RowCount());
  auto filled = std::make_unique<ReportRow>();
  filled->texts = std::move(texts);
  filled->data.pUserData = std::move(record);
  m_pModel->InsertRow(row, std::move(filled));
  if (m_pModel->RowCount() == 1) viewport()->update();
  return row;
}

int CReportCtrl::GetItemCount(unsigned filter) const {
  if (filter == RIS_ALL) return m_pModel->RowCount();
  int n = 0;
  for (unsigned state : AllStates())
    if ((state & filter) == filter) ++n;
  return n;
}

const std::vector<unsigned>& CReportCtrl::AllStates() const {
  // Built from the selection's ranges in one pass and kept until the rows or
  // the selection change: asking the selection row by row walks every range
  // for every row, which a list of 20,000 scattered selected rows cannot afford.
  if (m_bStatesValid) return m_states;
  const int count = m_pModel->RowCount();
  m_states.assign(static_cast<std::size_t>(count), RIS_UNSELECTED);
  for (const QItemSelectionRange& range : selectionModel()->selection())
    for (int row = std::max(range.top(), 0); row <= std::min(range.bottom(), count - 1); ++row)
      m_states[row] = RIS_SELECTED;
  const int focused = currentIndex().isValid() ? currentIndex().row() : -1;
  for (int row = 0; row < count; ++row) {
    m_states[row] |= m_pModel->Row(row).checked ? RIS_CHECKED : RIS_UNCHECKED;
    m_states[row] |= row == focused ? RIS_FOCUSED : RIS_UNFOCUSED;
  }
  m_bStatesValid = true;
  return m_states;
}

int CReportCtrl::GetNextItem(int start, unsigned filter) const {
  for (int row = std::max(start + 1, 0); row < m_pModel->RowCount(); ++row)
    if (RowMatches(row, filter)) return row;
  return -1;
}

unsigned CReportCtrl::GetItemState(int row) const {
  return m_pModel->IsValidRow(row) ? AllStates()[static_cast<std::size_t>(row)] : 0;
}

bool CReportCtrl::RowMatches(int row, unsigned filter) const {
  return filter == RIS_ALL || (GetItemState(row) & filter) == filter;
}

void CReportCtrl::ApplyStates(const std::vector<int>& rows, unsigned set) {
  if (rows.empty()) return;
  QItemSelectionModel* selection = selectionModel();
  if (set & (RIS_SELECTED | RIS_UNSELECTED)) {
    // Whole runs of rows at once: one selection change for a 20,000-row list.
    QItemSelection ranges;
    const int lastColumn = std::max(m_pModel->ColumnCount() - 1, 0);
    for (std::size_t i = 0; i < rows.size();) {
      std::size_t j = i;
      while (j + 1 < rows.size() && rows[j + 1] == rows[j] + 1) ++j;
      ranges.select(m_pModel->index(rows[i], 0), m_pModel->index(rows[j], lastColumn));
      i = j + 1;
    }
    selection->select(ranges, (set & RIS_SELECTED) ? QItemSelectionModel::Select
                                                   : QItemSelectionModel::Deselect);
  }
  if (set & (RIS_CHECKED | RIS_UNCHECKED)) {
    for (int row : rows) m_pModel->Row(row).checked = (set & RIS_CHECKED) != 0;
    m_bStatesValid = false;
  }
  if (set & RIS_FOCUSED)
    selection->setCurrentIndex(m_pModel->index(rows.back(), 0), QItemSelectionModel::NoUpdate);
  else if ((set & RIS_UNFOCUSED) && currentIndex().isValid() &&
           std::find(rows.begin(), rows.end(), currentIndex().row()) != rows.end())
    selection->setCurrentIndex({}, QItemSelectionModel::NoUpdate);
}

void CReportCtrl::SetItemStates(int row, unsigned set) {
  if (m_pModel->IsValidRow(row)) ApplyStates({row}, set);
}

std::vector<int> CReportCtrl::MatchingRows(unsigned filter) const {
  std::vector<int> rows;
  if (filter == RIS_ALL) {
    rows.resize(static_cast<std::size_t>(m_pModel->RowCount()));
    for (std::size_t i = 0; i < rows.size(); ++i) rows[i] = static_cast<int>(i);
    return rows;
  }
  const std::vector<unsigned> states = AllStates();
  for (std::size_t i = 0; i < states.size(); ++i)
    if ((states[i] & filter) == filter) rows.push_back(static_cast<int>(i));
  return rows;
}

void CReportCtrl::SetItemStatesAll(unsigned filter, unsigned set) {
  ApplyStates(MatchingRows(filter), set);
}

void CReportCtrl::InvertSelection() {
  if (m_pModel->RowCount() == 0 || m_pModel->ColumnCount() == 0) return;
  QItemSelection all(m_pModel->index(0, 0),
                     m_pModel->index(m_pModel->RowCount() - 1, m_pModel->ColumnCount() - 1));
  selectionModel()->select(all, QItemSelectionModel::Toggle);
}

QString CReportCtrl::GetItemText(int row, int column) const {
  return m_pModel->IsValidCell(row, column) ? m_pModel->Row(row).texts[column] : QString();
}

bool CReportCtrl::SetItemText(int row, int column, const QString& text) {
  if (!m_pModel->IsValidCell(row, column)) return false;
  EndEdit(true);
  m_pModel->SetText(row, column, text);
  return true;
}

bool CReportCtrl::SetItemNumber(int row, int column, double value, int precision) {
  return SetItemText(row, column, FormatNumber(value, precision));
}

bool CReportCtrl::SetItemImage(int row, const QIcon& image) {
  if (!m_pModel->IsValidRow(row)) return false;
  m_pModel->Row(row).image = image;
  m_pModel->NotifyCellChanged(row, 0);
  return true;
}

AudioFileRecord* CReportCtrl::GetItemUserData(int row) const {
  return m_pModel->IsValidRow(row) ? m_pModel->Row(row).data.pUserData.get() : nullptr;
}

bool CReportCtrl::SetItemUserData(int row, std::unique_ptr<AudioFileRecord> record) {
  if (!m_pModel->IsValidRow(row)) return false;
  m_pModel->Row(row).data.pUserData = std::move(record);
  return true;
}

namespace {

// The rows and columns a colour setter reaches: one cell, or all rows or all
// columns for an index outside the list.
struct CellSpan {
  int firstRow, lastRow, firstColumn, lastColumn;
};

CellSpan SpanOf(const ReportModel& model, int row, int column) {
  const bool allRows = !model.IsValidRow(row);
  const bool allColumns = !model.IsValidColumn(column);
  return {allRows ? 0 : row, allRows ? model.RowCount() - 1 : row,
          allColumns ? 0 : column, allColumns ? model.ColumnCount() - 1 : column};
}

}  // namespace

void CReportCtrl::SetCellTextColour(int row, int column, ReportColour colour, bool redraw) {
  const CellSpan span = SpanOf(*m_pModel, row, column);
  for (int r = span.firstRow; r <= span.lastRow; ++r)
    for (int c = span.firstColumn; c <= span.lastColumn; ++c)
      m_pModel->Row(r).data.textColours[c] = colour;
  if (redraw)
    m_pModel->NotifyColoursChanged(span.firstRow, span.firstColumn, span.lastRow, span.lastColumn);
}

void CReportCtrl::SetCellBackColour(int row, int column, ReportColour colour, bool redraw) {
  const CellSpan span = SpanOf(*m_pModel, row, column);
  for (int r = span.firstRow; r <= span.lastRow; ++r)
    for (int c = span.firstColumn; c <= span.lastColumn; ++c)
      m_pModel->Row(r).data.backColours[c] = colour;
  if (redraw)
    m_pModel->NotifyColoursChanged(span.firstRow, span.firstColumn, span.lastRow, span.lastColumn);
}

ReportColour CReportCtrl::GetCellTextColour(int row, int column) const {
  return m_pModel->IsValidCell(row, column) ? m_pModel->Row(row).data.textColours[column]
                                            : kDefaultColour;
}

ReportColour CReportCtrl::GetCellBackColour(int row, int column) const {
  return m_pModel->IsValidCell(row, column) ? m_pModel->Row(row).data.backColours[column]
                                            : kDefaultColour;
}

bool CReportCtrl::DeleteItem(int row, bool selectNext) {
  if (!m_pModel->IsValidRow(row)) return false;
  // An edit of this very row dies with it; an edit elsewhere is kept.
  EndEdit(m_nEditItem != row);
  if (selectNext) {
    const int next = row + 1 < m_pModel->RowCount() ? row + 1 : row - 1;
    if (next >= 0) {
      selectionModel()->clearSelection();
      SetItemStates(next, RIS_SELECTED | RIS_FOCUSED);
    }
  }
  m_pModel->RemoveRows(row, 1);
  if (m_pModel->RowCount() == 0) viewport()->update();
  return true;
}

int CReportCtrl::DeleteItems(unsigned filter) {
  EndEdit(false);
  const int count = m_pModel->RowCount();
  if (filter == RIS_ALL) {
    m_pModel->RemoveAllRows();
    viewport()->update();
    return count;
  }
  const std::vector<int> rows = MatchingRows(filter);
  if (rows.empty()) return 0;
  const bool wasOn = updatesEnabled();
  setUpdatesEnabled(false);
  if (rows.back() - rows.front() + 1 == static_cast<int>(rows.size())) {
    m_pModel->RemoveRows(rows.front(), static_cast<int>(rows.size()));
  } else {
    // Scattered rows: removed one run at a time, every run would make the
    // selection walk all its ranges. The rows that stay are put back in one
    // go instead, with their selection and focus.
    const std::vector<unsigned> states = AllStates();
    std::vector<bool> remove(static_cast<std::size_t>(count), false);
    for (int row : rows) remove[row] = true;
    m_pModel->KeepRows(remove);
    std::vector<int> selected;
    int focused = -1;
    for (int row = 0, kept = 0; row < count; ++row) {
      if (remove[row]) continue;
      if (states[row] & RIS_SELECTED) selected.push_back(kept);
      if (states[row] & RIS_FOCUSED) focused = kept;
      ++kept;
    }
    ApplyStates(selected, RIS_SELECTED);
    if (focused >= 0) ApplyStates({focused}, RIS_FOCUSED);
  }
  setUpdatesEnabled(wasOn);
  viewport()->update();
  return static_cast<int>(rows.size());
}

int CReportCtrl::MoveItem(int row, int newIndex) {
  if (!m_pModel->IsValidRow(row)) return -1;
  EndEdit(true);
  newIndex = std::clamp(newIndex, 0, m_pModel->RowCount() - 1);
  if (newIndex == row) return row;
  m_pModel->MoveRow(row, newIndex);
  return newIndex;
}

// ---- Sorting and colouring --------------------------------------------------

void CReportCtrl::SetSortKeys(std::vector<ColumnSortInfo> keys) {
  if (keys.size() > kMaxSortKeys) keys.resize(kMaxSortKeys);
  m_sortKeys = std::move(keys);
}

void CReportCtrl::OnColumnClick(int column) {
  PushSortKey(m_sortKeys, column);
  EndEdit(true);
  if (m_pModel->IsValidColumn(column) && !isHeaderHidden() && header()->sectionsClickable())
    SortItems(0, m_pModel->RowCount() - 1, true);
  // The header flips its arrow on a click by itself; the arrows stay as set
  // until the owner answers WM_LIST_SORTED.
  ApplyHeaderImages();
}

void CReportCtrl::SortItems(int first, int last, bool highlight) {
  if (m_sortKeys.empty()) return;
  EndEdit(true);  // the edit's row index would point at another file afterwards
  g_bListBusy = 1;
  setUpdatesEnabled(false);
  const ColumnSortInfo key = m_sortKeys.front();
  first = std::max(first, 0);
  last = std::min(last, m_pModel->RowCount() - 1);
  if (first < last) {
    std::vector<int> order;
    order.reserve(static_cast<std::size_t>(last - first + 1));
    for (int row = first; row <= last; ++row) order.push_back(row);
    const int direction = key.ascending ? 1 : -1;
    const ReportModel& model = *m_pModel;
    const auto& keys = m_sortKeys;
    QuickSortRange(order.data(), 0, static_cast<long>(order.size()) - 1,
                   [&](int a, int b) { return direction * CompareRows(model.Row(a), model.Row(b), keys); });
    m_pModel->ReorderRows(first, order);
  }
  if (m_pParent) m_pParent->PostMessage(WM_LIST_SORTED, static_cast<platform::WPARAM>(key.column),
                                        key.ascending ? 1 : 0);
  ColourRows(highlight);
  g_bListBusy = 0;
}

void CReportCtrl::ColourRows(bool highlight) {
  setUpdatesEnabled(false);
  const int sortColumn = m_sortKeys.empty() ? -1 : m_sortKeys.front().column;
  const int columns = m_pModel->ColumnCount();
  for (int row = 0; row < m_pModel->RowCount(); ++row) {
    ReportItemData& data = m_pModel->Row(row).data;
    const bool error = data.pUserData && data.pUserData->bError;
    const bool odd = row % 2 == 1;
    for (int column = 0; column < columns; ++column) {
      const bool sorted = highlight && column == sortColumn;
      data.backColours[column] = error ? kErrorBack
                                 : odd ? (sorted ? kOddSortBack : kOddBack)
                                       : (sorted ? kEvenSortBack : kEvenBack);
    }
  }
  m_pModel->NotifyColoursChanged();
  setUpdatesEnabled(true);
  viewport()->update();
}

void CReportCtrl::SetRedraw(bool on) {
  setUpdatesEnabled(on);
  if (on) viewport()->update();
}
