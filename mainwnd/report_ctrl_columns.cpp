// Columns of the report list: inserting, hiding and showing, the header menu
// and the guards that keep hidden columns hidden.
#include <QContextMenuEvent>
#include <QHeaderView>
#include <QMenu>

#include "mainwnd/report_ctrl.h"
#include "mainwnd/report_model.h"

namespace {

// Menu positions of the separators: after the first three columns and after
// the next eight.
constexpr int kMenuSeparators[] = {3, 12};
// Columns 0 and 1 (Name and Path) make up a row's file and cannot be hidden.
constexpr int kFixedColumns = 2;

}  // namespace

int CReportCtrl::InsertColumn(int index, const QString& text, int format, int width) {
  EndEdit(true);
  index = std::clamp(index, 0, m_pModel->ColumnCount());
  m_bMovingColumns = true;
  m_pModel->InsertColumn(index, text, format);
  header()->resizeSection(index, width);
  m_bMovingColumns = false;
  m_columns.insert(m_columns.begin() + index, ReportColumnState{1, width, -1});
  m_headerImages.insert(m_headerImages.begin() + index, 0);
  return index;
}

int CReportCtrl::GetColumnCount() const { return m_pModel->ColumnCount(); }

bool CReportCtrl::IsColumnVisible(int column) const {
  return m_pModel->IsValidColumn(column) && m_columns[column].visible;
}

ReportColumnState CReportCtrl::GetColumnState(int column) const {
  return m_pModel->IsValidColumn(column) ? m_columns[column] : ReportColumnState{};
}

int CReportCtrl::GetColumnWidth(int column) const {
  return m_pModel->IsValidColumn(column) ? header()->sectionSize(column) : 0;
}

bool CReportCtrl::SetColumnWidth(int column, int width) {
  if (!IsColumnVisible(column)) return false;
  header()->resizeSection(column, std::max(width, 0));
  return true;
}

void CReportCtrl::AutoSizeColumns() {
  EndEdit(true);
  for (int column = 0; column < m_pModel->ColumnCount(); ++column)
    if (m_columns[column].visible) resizeColumnToContents(column);
}

bool CReportCtrl::ShowColumn(int column, bool show) {
  if (!m_pModel->IsValidColumn(column)) return false;
  ReportColumnState& state = m_columns[column];
  // Hiding twice would remember the width 0 and lose the real one.
  if (static_cast<bool>(state.visible) == show) return false;
  EndEdit(false);
  QHeaderView* head = header();
  const int count = m_pModel->ColumnCount();
  const bool wasOn = updatesEnabled();
  setUpdatesEnabled(false);
  m_bMovingColumns = true;
  if (!show) {
    // Hidden columns gather at the left edge with no width.
    head->moveSection(head->visualIndex(column), 0);
    state.position = count;
    state.width = head->sectionSize(column);
    head->hideSection(column);
    state.visible = 0;
  } else {
    // Back to the right: past every neighbour below the remembered position
    // and past hidden ones beyond it, which from a hide means to the right end.
    int visual = head->visualIndex(column);
    while (visual + 1 < count &&
           (visual + 1 < state.position || head->isSectionHidden(head->logicalIndex(visual + 1)))) {
      head->moveSection(visual, visual + 1);
      ++visual;
    }
    head->showSection(column);
    head->resizeSection(column, state.width);
    state.visible = 1;
  }
  m_bMovingColumns = false;
  setUpdatesEnabled(wasOn);
  viewport()->update();
  return true;
}

void CReportCtrl::OnSectionMoved(int logical, int /*oldVisual*/, int newVisual) {
  if (m_bMovingColumns) return;
  EndEdit(false);
  if (header()->isSectionHidden(logical)) return;
  // A column dropped among the hidden ones goes right after them.
  QHeaderView* head = header();
  int lastHidden = -1;
  for (int visual = newVisual + 1; visual < head->count(); ++visual)
    if (head->isSectionHidden(head->logicalIndex(visual))) lastHidden = visual;
  if (lastHidden < 0) return;
  m_bMovingColumns = true;
  head->moveSection(newVisual, lastHidden);
  m_bMovingColumns = false;
}

void CReportCtrl::SetSortable(bool on) { header()->setSectionsClickable(on); }

void CReportCtrl::SetHeaderImage(int column, int image, bool /*imageOnLeft*/) {
  if (!m_pModel->IsValidColumn(column)) return;
  m_headerImages[column] = image;
  ApplyHeaderImages();
}

void CReportCtrl::ApplyHeaderImages() {
  // One arrow at a time, as the style draws sort arrows.
  QHeaderView* head = header();
  for (int c = 0; c < m_pModel->ColumnCount(); ++c) {
    if (m_headerImages[c] == 1 || m_headerImages[c] == 2) {
      head->setSortIndicator(c, m_headerImages[c] == 1 ? Qt::AscendingOrder : Qt::DescendingOrder);
      head->setSortIndicatorShown(true);
      return;
    }
  }
  head->setSortIndicatorShown(false);
}

int CReportCtrl::GetHeaderImage(int column) const {
  return m_pModel->IsValidColumn(column) ? m_headerImages[column] : 0;
}

std::unique_ptr<QMenu> CReportCtrl::BuildHeaderMenu() {
  auto menu = std::make_unique<QMenu>(this);
  for (int column = 0; column < m_pModel->ColumnCount(); ++column) {
    QAction* action = menu->addAction(m_pModel->HeaderText(column).left(511));
    action->setData(column);
    action->setCheckable(true);
    action->setChecked(m_columns[column].visible);
    action->setEnabled(column >= kFixedColumns);
  }
  for (int position : kMenuSeparators) {
    const QList<QAction*> actions = menu->actions();
    if (position < actions.size()) menu->insertSeparator(actions[position]);
  }
  return menu;
}

void CReportCtrl::OnHeaderMenuCommand(int column) {
  if (column >= kFixedColumns && m_pModel->IsValidColumn(column))
    ShowColumn(column, !m_columns[column].visible);
}

bool CReportCtrl::OnHeaderContextMenu(QContextMenuEvent* event) {
  // The keyboard's menu key has no point on the header to speak of.
  if (event->reason() == QContextMenuEvent::Keyboard) return true;
  std::unique_ptr<QMenu> menu = BuildHeaderMenu();
  if (QAction* chosen = menu->exec(event->globalPos())) OnHeaderMenuCommand(chosen->data().toInt());
  return true;
}
