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

int CReportCtrl::GetItemCount(unsigned filter) const {
  const int count = m_pModel->RowCount();
  if (filter == RIS_ALL) return count;
  int n = 0;
  for (int row = 0; row < count; ++row)
    if (RowMatches(row, filter)) ++n;
  return n;
}

int CReportCtrl::GetNextItem(int start, unsigned filter) const {
  for (int row = std::max(start + 1, 0); row < m_pModel->RowCount(); ++row)
    if (filter == RIS_ALL || RowMatches(row, filter)) return row;
  return -1;
}

unsigned CReportCtrl::GetItemState(int row) const {
  if (!m_pModel->IsValidRow(row)) return 0;
  unsigned state = selectionModel()->isRowSelected(row, {}) ? RIS_SELECTED : RIS_UNSELECTED;
  state |= m_pModel->Row(row).checked ? RIS_CHECKED : RIS_UNCHECKED;
  state |= currentIndex().isValid() && currentIndex().row() == row ? RIS_FOCUSED : RIS_UNFOCUSED;
  return state;
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
  if (set & (RIS_CHECKED | RIS_UNCHECKED))
    for (int row : rows) m_pModel->Row(row).checked = (set & RIS_CHECKED) != 0;
  if (set & RIS_FOCUSED)
    selection->setCurrentIndex(m_pModel->index(rows.back(), 0), QItemSelectionModel::NoUpdate);
  else if ((set & RIS_UNFOCUSED) && currentIndex().isValid() &&
           std::find(rows.begin(), rows.end(), currentIndex().row()) != rows.end())
    selection->setCurrentIndex({}, QItemSelectionModel::NoUpdate);
}

void CReportCtrl::SetItemStates(int row, unsigned set) {
  if (m_pModel->IsValidRow(row)) ApplyStates({row}, set);
}

void CReportCtrl::SetItemStatesAll(unsigned filter, unsigned set) {
  std::vector<int> rows;
  for (int row = 0; row < m_pModel->RowCount(); ++row)
    if (RowMatches(row, filter)) rows.push_back(row);
  ApplyStates(rows, set);
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

void CReportCtrl::SetCellTextColour(int row, int column, ReportColour colour, bool redraw) {
  const bool allRows = !m_pModel->IsValidRow(row);
  const bool allColumns = !m_pModel->IsValidColumn(column);
  for (int r = allRows ? 0 : row; r < (allRows ? m_pModel->RowCount() : row + 1); ++r) {
    auto& colours = m_pModel->Row(r).data.textColours;
    for (int c = allColumns ? 0 : column; c < (allColumns ? m_pModel->ColumnCount() : column + 1);
         ++c)
      colours[c] = colour;
  }
  if (redraw) m_pModel->NotifyColoursChanged();
}

void CReportCtrl::SetCellBackColour(int row, int column, ReportColour colour, bool redraw) {
  const bool allRows = !m_pModel->IsValidRow(row);
  const bool allColumns = !m_pModel->IsValidColumn(column);
  for (int r = allRows ? 0 : row; r < (allRows ? m_pModel->RowCount() : row + 1); ++r) {
    auto& colours = m_pModel->Row(r).data.backColours;
    for (int c = allColumns ? 0 : column; c < (allColumns ? m_pModel->ColumnCount() : column + 1);
         ++c)
      colours[c] = colour;
  }
  if (redraw) m_pModel->NotifyColoursChanged();
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
  std::vector<int> rows;
  for (int row = 0; row < count; ++row)
    if (RowMatches(row, filter)) rows.push_back(row);
  if (rows.empty()) return 0;
  const bool wasOn = updatesEnabled();
  setUpdatesEnabled(false);
  // Whole runs from the bottom up, so the indexes below stay valid.
  for (std::size_t j = rows.size(); j > 0;) {
    std::size_t i = j - 1;
    while (i > 0 && rows[i - 1] == rows[i] - 1) --i;
    m_pModel->RemoveRows(rows[i], static_cast<int>(j - i));
    j = i;
  }
  setUpdatesEnabled(wasOn);
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
