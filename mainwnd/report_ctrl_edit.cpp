// In-place editing of the report list, and the keys and mouse gestures around it.
#include <QApplication>
#include <QHeaderView>
#include <QKeyEvent>
#include <QLineEdit>
#include <QMouseEvent>
#include <QStyle>
#include <QStyleOptionViewItem>

#include "mainwnd/list_messages.h"
#include "mainwnd/report_ctrl.h"
#include "mainwnd/report_model.h"

namespace {

enum EditAlign { EDIT_LEFT = 0, EDIT_CENTER = 1, EDIT_RIGHT = 2 };

int EditAlignOf(int format) {
  return format == RCF_CENTER ? EDIT_CENTER : format == RCF_RIGHT ? EDIT_RIGHT : EDIT_LEFT;
}

bool IsEditNavigationKey(int key) {
  switch (key) {
    case Qt::Key_Return: case Qt::Key_Enter: case Qt::Key_Escape: case Qt::Key_Tab:
    case Qt::Key_Backtab: case Qt::Key_Up: case Qt::Key_Down:
      return true;
    default:
      return false;
  }
}

}  // namespace

void CReportCtrl::EnableEditing(bool on) {
  if (!on) EndEdit(true);
  m_bEditEnabled = on;
}

void CReportCtrl::AddEditableColumn(int column) {
  if (column < 0) return;
  const auto c = static_cast<unsigned>(column);
  if (std::find(m_editableColumns.begin(), m_editableColumns.end(), c) == m_editableColumns.end())
    m_editableColumns.push_back(c);
}

bool CReportCtrl::IsEditableColumn(int column) const {
  return column >= 0 && std::find(m_editableColumns.begin(), m_editableColumns.end(),
                                  static_cast<unsigned>(column)) != m_editableColumns.end();
}

void CReportCtrl::EnsureEditor(int align) {
  if (!m_pEdit) {
    m_pEdit = new QLineEdit(viewport());
    // A thin border, as a label editor has: the style's frame is taller than a row.
    m_pEdit->setFrame(false);
    m_pEdit->setStyleSheet(QStringLiteral("QLineEdit { border: 1px solid palette(shadow); padding: 0px 1px; }"));
    m_pEdit->hide();
    m_pEdit->installEventFilter(this);
  }
  if (align != m_nEditAlign) {
    m_pEdit->setAlignment(align == EDIT_CENTER ? Qt::AlignHCenter
                          : align == EDIT_RIGHT ? Qt::AlignRight
                                                : Qt::AlignLeft);
    m_nEditAlign = align;
  }
  m_pEdit->setFont(font());
}

void CReportCtrl::PlaceEditor() {
  const QModelIndex cell = m_pModel->index(m_nEditItem, m_nEditSubItem);
  // Over the cell's text, not its icon: where the style draws the label.
  QStyleOptionViewItem option;
  initViewItemOption(&option);
  option.rect = visualRect(cell);
  option.features |= QStyleOptionViewItem::HasDisplay;
  option.text = m_pModel->Row(m_nEditItem).texts[m_nEditSubItem];
  const QIcon& image = m_pModel->Row(m_nEditItem).image;
  if (m_nEditSubItem == 0 && !image.isNull()) {
    option.features |= QStyleOptionViewItem::HasDecoration;
    option.icon = image;
  }
  QRect area = style()->subElementRect(QStyle::SE_ItemViewItemText, &option, this);
  if (!area.isValid()) area = option.rect;
  // Tall enough for a line of text and the border; centred on the row.
  const int height = std::max(area.height(), m_pEdit->fontMetrics().height() + 2);
  area.setTop(area.center().y() - height / 2);
  area.setHeight(height);
  m_pEdit->setGeometry(area);
}

bool CReportCtrl::BeginEdit(int row, int column) {
  if (!m_pModel->IsValidCell(row, column)) return false;
  if (row == m_nEditItem && column == m_nEditSubItem) return true;
  EndEdit(true);
  if (!m_pModel->IsValidCell(row, column)) return false;  // the commit changed the list

  const QModelIndex cell = m_pModel->index(row, column);
  selectionModel()->setCurrentIndex(cell, QItemSelectionModel::ClearAndSelect |
                                              QItemSelectionModel::Rows);
  scrollTo(cell);
  EnsureEditor(EditAlignOf(m_pModel->ColumnFormat(column)));
  m_nEditItem = row;
  m_nEditSubItem = column;
  PlaceEditor();

  const QString text = m_pModel->Row(row).texts[column];
  m_pEdit->setText(text);
  m_pEdit->show();
  // The name without its extension is what a rename usually changes.
  const qsizetype dot = text.lastIndexOf(QLatin1Char('.'));
  m_pEdit->setSelection(0, static_cast<int>(dot >= 0 ? dot : text.size()));
  m_pEdit->setFocus(Qt::OtherFocusReason);
  if (column == 0) m_strEditOriginal = text;
  return true;
}

bool CReportCtrl::EndEdit(bool commit) {
  if (m_nEditItem < 0) return false;
  const int row = m_nEditItem;
  const int column = m_nEditSubItem;
  // Idle first: hiding the editor moves the focus, which ends edits too.
  m_nEditItem = m_nEditSubItem = -1;
  const QString text = m_pEdit->text();
  const bool hadFocus = m_pEdit->hasFocus();
  m_pEdit->hide();
  if (hadFocus) setFocus(Qt::OtherFocusReason);
  if (!commit || !m_pModel->IsValidCell(row, column) || text == m_pModel->Row(row).texts[column])
    return false;
  m_pModel->SetText(row, column, text);
  if (m_pParent) {
    ListCellRef cell{row, column};
    m_pParent->SendMessage(WM_LIST_ITEM_EDITED, reinterpret_cast<platform::WPARAM>(&cell),
                           reinterpret_cast<platform::LPARAM>(this));
  }
  return true;
}

void CReportCtrl::EditNextColumn(bool backwards) {
  const int row = m_nEditItem;
  auto it = std::find(m_editableColumns.begin(), m_editableColumns.end(),
                      static_cast<unsigned>(m_nEditSubItem));
  EndEdit(true);
  if (m_editableColumns.empty()) return;
  const auto n = static_cast<std::ptrdiff_t>(m_editableColumns.size());
  std::ptrdiff_t position = it == m_editableColumns.end() ? 0 : it - m_editableColumns.begin();
  position = (position + (backwards ? n - 1 : 1)) % n;
  const int column = static_cast<int>(m_editableColumns[static_cast<std::size_t>(position)]);
  if (!m_pModel->IsValidCell(row, column)) return;
  scrollTo(m_pModel->index(row, column));
  BeginEdit(row, column);
}

void CReportCtrl::EditNextRow(bool up) {
  const int column = m_nEditSubItem;
  int row = m_nEditItem;
  EndEdit(true);
  const int count = m_pModel->RowCount();
  if (count == 0) return;
  row = up ? (row - 1 + count) % count : (row + 1) % count;
  scrollTo(m_pModel->index(row, std::max(column, 0)));
  BeginEdit(row, column);
}

bool CReportCtrl::EditKey(QKeyEvent* event) {
  switch (event->key()) {
    case Qt::Key_Return:
    case Qt::Key_Enter: EndEdit(true); return true;
    case Qt::Key_Escape: EndEdit(false); return true;
    case Qt::Key_Tab: EditNextColumn(false); return true;
    case Qt::Key_Backtab: EditNextColumn(true); return true;
    case Qt::Key_Up: EditNextRow(true); return true;
    case Qt::Key_Down: EditNextRow(false); return true;
    default: return false;
  }
}

bool CReportCtrl::eventFilter(QObject* watched, QEvent* event) {
  if (watched == m_pEdit && m_pEdit) {
    switch (event->type()) {
      case QEvent::ShortcutOverride:
        // The editor keeps its keys from the window's shortcuts.
        if (IsEditing() && IsEditNavigationKey(static_cast<QKeyEvent*>(event)->key())) {
          event->accept();
          return true;
        }
        break;
      case QEvent::KeyPress:
        if (IsEditing() && EditKey(static_cast<QKeyEvent*>(event))) return true;
        break;
      case QEvent::FocusOut: {
        // Clicking elsewhere keeps the typed name; a menu or another window
        // taking the focus for a moment does not end the edit.
        const Qt::FocusReason reason = static_cast<QFocusEvent*>(event)->reason();
        if (reason != Qt::PopupFocusReason && reason != Qt::ActiveWindowFocusReason) EndEdit(true);
        break;
      }
      default:
        break;
    }
  } else if (watched == header() && event->type() == QEvent::ContextMenu) {
    return OnHeaderContextMenu(static_cast<QContextMenuEvent*>(event));
  }
  return QTreeView::eventFilter(watched, event);
}

void CReportCtrl::keyPressEvent(QKeyEvent* event) {
  const Qt::KeyboardModifiers mods = event->modifiers();
  if (event->key() == Qt::Key_Plus && (mods & Qt::ControlModifier) && (mods & Qt::KeypadModifier)) {
    AutoSizeColumns();
    event->accept();
    return;
  }
  if (event->key() == Qt::Key_Space && !IsEditing()) {
    event->accept();
    return;
  }
  QTreeView::keyPressEvent(event);
}

void CReportCtrl::mousePressEvent(QMouseEvent* event) {
  const bool wasEditing = IsEditing();
  EndEdit(true);
  m_editDelay.stop();
  const QModelIndex cell = indexAt(event->position().toPoint());
  const bool armed = !wasEditing && m_bEditEnabled && event->button() == Qt::LeftButton &&
                     event->modifiers() == Qt::NoModifier && cell.isValid() &&
                     IsEditableColumn(cell.column()) &&
                     (GetItemState(cell.row()) & (RIS_SELECTED | RIS_FOCUSED)) ==
                         (RIS_SELECTED | RIS_FOCUSED);
  m_pressPos = event->position().toPoint();
  QTreeView::mousePressEvent(event);
  if (armed) {
    m_nPendingEditItem = cell.row();
    m_nPendingEditSubItem = cell.column();
    m_editDelay.start(QApplication::doubleClickInterval());
  }
}

void CReportCtrl::mouseDoubleClickEvent(QMouseEvent* event) {
  // A double click belongs to the owner (it opens or converts the file).
  m_editDelay.stop();
  EndEdit(true);
  QTreeView::mouseDoubleClickEvent(event);
}

void CReportCtrl::mouseMoveEvent(QMouseEvent* event) {
  if (m_editDelay.isActive() && (event->buttons() & Qt::LeftButton) &&
      (event->position().toPoint() - m_pressPos).manhattanLength() >=
          QApplication::startDragDistance())
    m_editDelay.stop();  // a drag, not a click
  QTreeView::mouseMoveEvent(event);
}

void CReportCtrl::wheelEvent(QWheelEvent* event) {
  EndEdit(false);
  QTreeView::wheelEvent(event);
}
