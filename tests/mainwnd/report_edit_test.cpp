// In-place editing of the file list, its keys and the hint of the empty list.
#include <QHeaderView>
#include <QLineEdit>
#include <QTest>

#include "mainwnd/report_hint.h"
#include "tests/mainwnd/report_list_fixture.h"
#include "tests/support/ui_test_support.h"

namespace {

class ReportEditTest : public ReportListTest {
 protected:
  void SetUp() override {
    list.EnableEditing(true);
    list.AddEditableColumn(COL_NAME);
    for (const char* name : {"song.mp4", "README", "other.tune.mp4"}) AddRow({name, "", "", 0, 0, "T"});
  }
  void Key(int key, Qt::KeyboardModifiers mods = Qt::NoModifier) {
    QTest::keyClick(list.GetEditor(), static_cast<Qt::Key>(key), mods);
  }
};

TEST_F(ReportEditTest, EditSelectsTheNameUpToItsLastDot) {
  struct Case {
    int row;
    const char* selected;
  } cases[] = {{0, "song"}, {1, "README"}, {2, "other.tune"}};
  for (const auto& c : cases) {
    ASSERT_TRUE(list.BeginEdit(c.row, COL_NAME));
    EXPECT_EQ(list.GetEditor()->selectedText().toStdString(), c.selected);
    EXPECT_TRUE(list.GetEditor()->isVisible() || !list.isVisible());
    EXPECT_EQ(list.GetItemCount(RIS_SELECTED), 1);
    EXPECT_EQ(list.GetNextItem(-1, RIS_SELECTED | RIS_FOCUSED), c.row);
  }
  EXPECT_EQ(list.GetEditOriginal(), QStringLiteral("other.tune.mp4"));
  EXPECT_FALSE(list.BeginEdit(7, COL_NAME));
  EXPECT_EQ(list.GetEditItem(), 2);
}

TEST_F(ReportEditTest, EscapeAndUnchangedEnterSendNothing) {
  list.BeginEdit(0, COL_NAME);
  list.GetEditor()->setText(QStringLiteral("changed.mp4"));
  Key(Qt::Key_Escape);
  EXPECT_FALSE(list.IsEditing());
  EXPECT_EQ(list.GetItemText(0, COL_NAME), QStringLiteral("song.mp4"));

  list.BeginEdit(0, COL_NAME);
  Key(Qt::Key_Return);
  EXPECT_FALSE(list.IsEditing());
  EXPECT_TRUE(Sent(WM_LIST_ITEM_EDITED).empty());
}

TEST_F(ReportEditTest, ChangedEnterWritesTheCellAndTellsTheOwner) {
  list.BeginEdit(0, COL_NAME);
  list.GetEditor()->setText(QStringLiteral("tune.mp4"));
  Key(Qt::Key_Enter);
  EXPECT_EQ(list.GetItemText(0, COL_NAME), QStringLiteral("tune.mp4"));
  const auto edited = Sent(WM_LIST_ITEM_EDITED);
  ASSERT_EQ(edited.size(), 1u);
  EXPECT_EQ(edited[0].values, (std::vector<double>{0, COL_NAME}));
  EXPECT_EQ(edited[0].lParam, reinterpret_cast<platform::LPARAM>(&list));
  EXPECT_EQ(list.GetEditOriginal(), QStringLiteral("song.mp4"));
}

TEST_F(ReportEditTest, TabCyclesEditableColumnsAndArrowsWrapRows) {
  list.AddEditableColumn(COL_TITLE);
  list.BeginEdit(0, COL_NAME);
  Key(Qt::Key_Tab);
  EXPECT_EQ(list.GetEditItem(), 0);
  EXPECT_EQ(list.GetEditSubItem(), COL_TITLE);
  Key(Qt::Key_Tab);
  EXPECT_EQ(list.GetEditSubItem(), COL_NAME);
  Key(Qt::Key_Backtab, Qt::ShiftModifier);
  EXPECT_EQ(list.GetEditSubItem(), COL_TITLE);
  list.GetEditor()->setText(QStringLiteral("New title"));
  Key(Qt::Key_Up);  // commits, then wraps to the last row
  EXPECT_EQ(list.GetItemText(0, COL_TITLE), QStringLiteral("New title"));
  EXPECT_EQ(list.GetEditItem(), 2);
  EXPECT_EQ(list.GetEditSubItem(), COL_TITLE);
  Key(Qt::Key_Down);
  EXPECT_EQ(list.GetEditItem(), 0);
  EXPECT_EQ(Sent(WM_LIST_ITEM_EDITED).size(), 1u);
}

TEST_F(ReportEditTest, ListChangesEndTheEdit) {
  list.BeginEdit(1, COL_NAME);
  list.GetEditor()->setText(QStringLiteral("kept"));
  list.InsertItem(0, QStringLiteral("new.mp4"));  // commits
  EXPECT_FALSE(list.IsEditing());
  EXPECT_EQ(list.GetItemText(2, COL_NAME), QStringLiteral("kept"));

  list.BeginEdit(1, COL_NAME);
  list.GetEditor()->setText(QStringLiteral("dropped"));
  list.DeleteItems(RIS_SELECTED);  // cancels
  EXPECT_FALSE(list.IsEditing());
  EXPECT_EQ(Sent(WM_LIST_ITEM_EDITED).size(), 1u);
}

TEST_F(ReportEditTest, ClickOnTheFocusedRowEditsAfterTheDoubleClickTime) {
  ShowList();
  const QPoint name = list.visualRect(list.model()->index(1, COL_NAME)).center();
  QTest::mouseClick(list.viewport(), Qt::LeftButton, {}, name);  // selects
  QTest::qWait(QApplication::doubleClickInterval() + 100);
  EXPECT_FALSE(list.IsEditing());
  QTest::mouseClick(list.viewport(), Qt::LeftButton, {}, name);  // already selected: edits
  QTest::qWait(QApplication::doubleClickInterval() + 100);
  EXPECT_TRUE(list.IsEditing());
  EXPECT_EQ(list.GetEditItem(), 1);

  // A press elsewhere commits; a double click is the owner's and edits nothing.
  const QPoint other = list.visualRect(list.model()->index(2, COL_NAME)).center();
  QTest::mouseClick(list.viewport(), Qt::LeftButton, {}, other);
  EXPECT_FALSE(list.IsEditing());
  QTest::mouseDClick(list.viewport(), Qt::LeftButton, {}, other);
  QTest::qWait(QApplication::doubleClickInterval() + 100);
  EXPECT_FALSE(list.IsEditing());
  // Not an editable column: nothing.
  const QPoint title = list.visualRect(list.model()->index(2, COL_TITLE)).center();
  QTest::mouseClick(list.viewport(), Qt::LeftButton, {}, title);
  QTest::qWait(QApplication::doubleClickInterval() + 100);
  EXPECT_FALSE(list.IsEditing());
}

TEST_F(ReportEditTest, SpaceIsSwallowedAndCtrlKeypadPlusSizesColumns) {
  ShowList();
  list.SetItemStates(1, RIS_FOCUSED);
  QTest::keyClick(&list, Qt::Key_Space);
  EXPECT_EQ(list.GetItemCount(RIS_SELECTED), 0);

  list.SetItemText(2, COL_TITLE, QStringLiteral("A title far too long for a column of thirty pixels"));
  list.SetColumnWidth(COL_TITLE, 30);
  list.ShowColumn(COL_GENRE, false);
  QTest::keyClick(&list, Qt::Key_Plus, Qt::ControlModifier | Qt::KeypadModifier);
  EXPECT_GT(list.GetColumnWidth(COL_TITLE), 150);
  EXPECT_EQ(list.GetColumnWidth(COL_GENRE), 0);
}

TEST_F(ReportEditTest, ScreenshotWhileEditing) {
  ShowList();
  list.ColourRows(false);
  list.BeginEdit(0, COL_NAME);
  SaveScreenshot(&list, QStringLiteral("list-editing"));
}

TEST(ReportHintTest, TipChangesEverySixSeconds) {
  struct Case {
    std::uint32_t tick;
    int index;
  } cases[] = {{0, 0}, {5999, 0}, {6000, 1}, {59999, 9}, {60000, 0}, {0xFFFFFFFFu, 7}};
  for (const auto& c : cases) EXPECT_EQ(HintIndex(c.tick), c.index) << c.tick;
  EXPECT_EQ(HintText(0), QStringLiteral("Drag & Drop files and folders here"));
  EXPECT_EQ(HintText(2), QStringLiteral("Add folder by clicking the \"Add Folder\" toolbar button"));
  EXPECT_TRUE(HintText(10).isEmpty());
}

TEST_F(ReportListTest, HintShowsOnlyInTheEmptyList) {
  list.EnableHint(true);
  ShowList();
  EXPECT_TRUE(list.IsHintShown());
  SaveScreenshot(&list, QStringLiteral("list-empty-hint"));
  AddRow({});
  EXPECT_FALSE(list.IsHintShown());
  list.DeleteItems(RIS_ALL);
  EXPECT_TRUE(list.IsHintShown());
  list.EnableHint(false);
  EXPECT_FALSE(list.IsHintShown());
}

}  // namespace
