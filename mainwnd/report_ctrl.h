#pragma once
// The file list: a report-style list with a colour per cell, columns that can
// be hidden from a header menu, sorting by up to six keys, row moves, in-place
// editing and a hint painted into the empty list.
//
// Row and column indexes are zero-based; an index outside the list changes
// nothing. Every operation that changes rows ends an open edit first.
#include <QTimer>
#include <QTreeView>
#include <memory>
#include <vector>

#include "mainwnd/column_sort_info.h"
#include "mainwnd/report_item_data.h"
#include "platform/core/message_target.h"

class QLineEdit;
class QMenu;
class ReportModel;

class CReportCtrl : public QTreeView {
  Q_OBJECT

 public:
  // parentTarget receives WM_LIST_SORTED and WM_LIST_ITEM_EDITED; may be null.
  explicit CReportCtrl(platform::MessageTarget* parentTarget, QWidget* parent = nullptr);
  ~CReportCtrl() override;

  // Columns.
  int InsertColumn(int index, const QString& text, int format = RCF_LEFT, int width = 100);
  int GetColumnCount() const;
  bool ShowColumn(int column, bool show);
  bool IsColumnVisible(int column) const;
  ReportColumnState GetColumnState(int column) const;
  // The current width; 0 for a hidden column.
  int GetColumnWidth(int column) const;
  // Refused (false) for a hidden column, which keeps its width 0.
  bool SetColumnWidth(int column, int width);
  // Sizes every visible column to its content (also Ctrl + keypad plus).
  void AutoSizeColumns();
  // Clicking a header sorts only while the list is sortable.
  void SetSortable(bool on);
  // Header images: 1 shows the ascending arrow, 2 the descending arrow, any
  // other the neutral look. The arrow sits where the style puts sort arrows.
  void SetHeaderImage(int column, int image, bool imageOnLeft = false);
  int GetHeaderImage(int column) const;

  // Sorting and colouring.
  const std::vector<ColumnSortInfo>& GetSortKeys() const { return m_sortKeys; }
  void SetSortKeys(std::vector<ColumnSortInfo> keys);
  // What a click on the column's header does.
  void OnColumnClick(int column);
  void SortItems(int first, int last, bool highlight);
  void ColourRows(bool highlight);
  // Turns painting off and on; on repaints the whole list.
  void SetRedraw(bool on);

  // Rows.
  int InsertItem(int row, const QString& text);
  // A whole row at once: its cell texts (missing ones empty) and its record.
  int InsertItem(int row, std::vector<QString> texts, std::unique_ptr<AudioFileRecord> record);
  int GetItemCount(unsigned filter = RIS_ALL) const;
  int GetNextItem(int start, unsigned filter) const;
  unsigned GetItemState(int row) const;
  void SetItemStates(int row, unsigned set);
  void SetItemStatesAll(unsigned filter, unsigned set);
  void InvertSelection();
  QString GetItemText(int row, int column) const;
  bool SetItemText(int row, int column, const QString& text);
  bool SetItemNumber(int row, int column, double value, int precision);
  bool SetItemImage(int row, const QIcon& image);
  AudioFileRecord* GetItemUserData(int row) const;
  // The row takes the record and frees it when the row goes.
  bool SetItemUserData(int row, std::unique_ptr<AudioFileRecord> record);
  // Colour kDefaultColour is the palette's colour. A row outside the list means
  // every row, a column outside the header every column.
  void SetCellTextColour(int row, int column, ReportColour colour, bool redraw);
  void SetCellBackColour(int row, int column, ReportColour colour, bool redraw);
  ReportColour GetCellTextColour(int row, int column) const;
  ReportColour GetCellBackColour(int row, int column) const;
  bool DeleteItem(int row, bool selectNext);
  int DeleteItems(unsigned filter);
  int MoveItem(int row, int newIndex);
  int MoveItemBy(int row, int offset) { return MoveItem(row, row + offset); }
  int MoveItemToTop(int row) { return MoveItem(row, 0); }
  int MoveItemToBottom(int row) { return MoveItem(row, GetItemCount() - 1); }

  // In-place editing.
  void EnableEditing(bool on);
  void AddEditableColumn(int column);
  bool BeginEdit(int row, int column);
  // Closes an open edit; with commit, a changed text is written to the cell and
  // WM_LIST_ITEM_EDITED is sent. Returns whether the cell changed.
  bool EndEdit(bool commit);
  bool IsEditing() const { return m_nEditItem >= 0; }
  int GetEditItem() const { return m_nEditItem; }
  int GetEditSubItem() const { return m_nEditSubItem; }
  QString GetEditOriginal() const { return m_strEditOriginal; }
  QLineEdit* GetEditor() const { return m_pEdit; }

  void EnableHint(bool on);
  bool IsHintShown() const;

  // The header's context menu, as a right click on the header shows it. A
  // chosen item toggles its column (OnHeaderMenuCommand).
  std::unique_ptr<QMenu> BuildHeaderMenu();
  void OnHeaderMenuCommand(int column);

  ReportModel* Model() const { return m_pModel; }

 protected:
  bool eventFilter(QObject* watched, QEvent* event) override;
  void keyPressEvent(QKeyEvent* event) override;
  void mousePressEvent(QMouseEvent* event) override;
  void mouseDoubleClickEvent(QMouseEvent* event) override;
  void mouseMoveEvent(QMouseEvent* event) override;
  void wheelEvent(QWheelEvent* event) override;
  void paintEvent(QPaintEvent* event) override;

 private:
  bool RowMatches(int row, unsigned filter) const;
  const std::vector<unsigned>& AllStates() const;
  std::vector<int> MatchingRows(unsigned filter) const;
  void ApplyStates(const std::vector<int>& rows, unsigned set);
  bool IsEditableColumn(int column) const;
  void EnsureEditor(int align);
  void PlaceEditor();
  bool EditKey(QKeyEvent* event);
  void EditNextColumn(bool backwards);
  void EditNextRow(bool up);
  void OnSectionMoved(int logical, int oldVisual, int newVisual);
  void ApplyHeaderImages();
  bool OnHeaderContextMenu(QContextMenuEvent* event);

  platform::MessageTarget* m_pParent;
  ReportModel* m_pModel;
  std::vector<ColumnSortInfo> m_sortKeys;
  std::vector<ReportColumnState> m_columns;
  std::vector<int> m_headerImages;
  bool m_bShowHint = false;
  std::vector<unsigned> m_editableColumns;
  QString m_strEditOriginal;
  QLineEdit* m_pEdit = nullptr;
  bool m_bEditEnabled = false;
  int m_nEditItem = -1;
  int m_nEditSubItem = -1;
  int m_nEditAlign = -1;
  bool m_bMovingColumns = false;
  // A click on the focused, selected row begins an edit once the double-click
  // time has passed without a second click or a drag.
  QTimer m_editDelay;
  int m_nPendingEditItem = -1;
  int m_nPendingEditSubItem = -1;
  QPoint m_pressPos;
  QTimer m_hintTimer;
  mutable std::vector<unsigned> m_states;  // state word per row, while m_bStatesValid
  mutable bool m_bStatesValid = false;
};
