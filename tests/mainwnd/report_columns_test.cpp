// Hiding and showing columns of the file list, and the header menu.
#include <QAction>
#include <QHeaderView>
#include <QMenu>

#include "tests/mainwnd/report_list_fixture.h"
#include "tests/support/ui_test_support.h"

namespace {

using ReportColumnsTest = ReportListTest;

TEST_F(ReportColumnsTest, HidingGenreMovesItLeftWithNoWidthAndShowingRestoresIt) {
  QHeaderView* head = list.header();
  ASSERT_TRUE(list.ShowColumn(COL_GENRE, false));
  EXPECT_EQ(head->visualIndex(COL_GENRE), 0);
  EXPECT_EQ(list.GetColumnWidth(COL_GENRE), 0);
  EXPECT_FALSE(list.IsColumnVisible(COL_GENRE));
  EXPECT_EQ(list.GetColumnState(COL_GENRE).width, 70);  // what the profile saves
  EXPECT_EQ(list.GetColumnState(COL_GENRE).position, FILE_COLUMN_COUNT);
  EXPECT_EQ(head->visualIndex(COL_NAME), 1);  // the others kept their order
  // A width change of a hidden column is refused; hiding twice keeps the width.
  EXPECT_FALSE(list.SetColumnWidth(COL_GENRE, 200));
  EXPECT_FALSE(list.ShowColumn(COL_GENRE, false));

  ASSERT_TRUE(list.ShowColumn(COL_GENRE, true));
  EXPECT_EQ(head->visualIndex(COL_GENRE), FILE_COLUMN_COUNT - 1);
  EXPECT_EQ(list.GetColumnWidth(COL_GENRE), 70);
  EXPECT_TRUE(list.IsColumnVisible(COL_GENRE));
  EXPECT_EQ(head->visualIndex(COL_NAME), 0);
}

TEST_F(ReportColumnsTest, HeaderMenuListsColumnsWithSeparatorsAndFixedNameAndPath) {
  list.ShowColumn(COL_COMMENT, false);
  std::unique_ptr<QMenu> menu = list.BuildHeaderMenu();
  const QList<QAction*> actions = menu->actions();
  ASSERT_EQ(actions.size(), FILE_COLUMN_COUNT + 2);
  EXPECT_TRUE(actions[3]->isSeparator());
  EXPECT_TRUE(actions[12]->isSeparator());
  int column = 0;
  for (QAction* action : actions) {
    if (action->isSeparator()) continue;
    EXPECT_EQ(action->text(), QString::fromLatin1(kFileColumns[column].heading));
    EXPECT_EQ(action->data().toInt(), column);
    EXPECT_EQ(action->isEnabled(), column >= 2) << column;
    EXPECT_EQ(action->isChecked(), column != COL_COMMENT) << column;
    ++column;
  }
  // Name and Path stay; another column toggles both ways.
  for (int fixed : {COL_NAME, COL_PATH}) {
    list.OnHeaderMenuCommand(fixed);
    EXPECT_TRUE(list.IsColumnVisible(fixed));
  }
  list.OnHeaderMenuCommand(COL_COMMENT);
  EXPECT_TRUE(list.IsColumnVisible(COL_COMMENT));
  list.OnHeaderMenuCommand(COL_SIZE);
  EXPECT_FALSE(list.IsColumnVisible(COL_SIZE));
}

TEST_F(ReportColumnsTest, DroppingAColumnAmongHiddenOnesPutsItAfterThem) {
  QHeaderView* head = list.header();
  list.ShowColumn(COL_GENRE, false);
  list.ShowColumn(COL_DATE, false);
  head->moveSection(head->visualIndex(COL_TITLE), 0);  // as a header drag would
  EXPECT_EQ(head->visualIndex(COL_TITLE), 2);
  EXPECT_TRUE(head->isSectionHidden(head->logicalIndex(0)));
  EXPECT_TRUE(head->isSectionHidden(head->logicalIndex(1)));
}

TEST_F(ReportColumnsTest, ScreenshotWithHiddenColumns) {
  AddRow({"one.mp4", "Artist One", "Album", 1, 2, "First"});
  AddRow({"two.mp4", "Artist Two", "Album", 2, 2, "Second"});
  list.ShowColumn(COL_PATH + 1, false);  // Type
  list.ShowColumn(COL_TAG, false);
  list.ColourRows(false);
  ShowList();
  SaveScreenshot(&list, QStringLiteral("list-hidden-columns"));
}

}  // namespace
