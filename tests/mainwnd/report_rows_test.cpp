// Rows of the file list: numbers, state words, moves and deletion.
#include <QHeaderView>

#include "tests/mainwnd/report_list_fixture.h"

namespace {

using ReportRowsTest = ReportListTest;

TEST_F(ReportRowsTest, SetItemNumberFormats) {
  struct Case {
    double value;
    int precision;
    const char* text;
  } cases[] = {
      {12.5, -1, "12.5"}, {3.0, -1, "3"},      {3.0, 2, "3.00"},      {100.0, -1, "100"},
      {0.125, -1, "0.125"}, {1234.5678, 2, "1234.57"}, {0.0, 0, "0"}, {-2.5, 1, "-2.5"},
  };
  const int row = AddRow({});
  for (const auto& c : cases) {
    ASSERT_TRUE(list.SetItemNumber(row, COL_SIZE, c.value, c.precision));
    EXPECT_EQ(list.GetItemText(row, COL_SIZE).toStdString(), c.text) << c.value << " " << c.precision;
  }
  EXPECT_FALSE(list.SetItemNumber(5, COL_SIZE, 1.0, 2));
}

TEST_F(ReportRowsTest, MovesAtTheEndsAndInBetween) {
  for (const char* name : {"a.mp4", "b.mp4", "c.mp4", "d.mp4"}) AddRow({name, name});
  EXPECT_EQ(list.MoveItemBy(3, 1), 3);  // the last row stays last
  EXPECT_EQ(list.MoveItemToTop(0), 0);
  EXPECT_EQ(list.MoveItem(9, 0), -1);
  EXPECT_EQ(Column(COL_NAME), (std::vector<std::string>{"a.mp4", "b.mp4", "c.mp4", "d.mp4"}));

  list.SetCellTextColour(2, COL_TYPE, Rgb(255, 0, 0), false);
  list.SetItemStates(2, RIS_SELECTED | RIS_FOCUSED);
  EXPECT_EQ(list.MoveItemToTop(2), 0);
  EXPECT_EQ(Column(COL_NAME), (std::vector<std::string>{"c.mp4", "a.mp4", "b.mp4", "d.mp4"}));
  EXPECT_EQ(list.GetItemUserData(0)->strArtist, QStringLiteral("c.mp4"));
  EXPECT_EQ(list.GetCellTextColour(0, COL_TYPE), Rgb(255, 0, 0));
  EXPECT_EQ(list.GetItemState(0), unsigned(RIS_SELECTED | RIS_UNCHECKED | RIS_FOCUSED));
  EXPECT_EQ(list.MoveItemToBottom(0), 3);
  EXPECT_EQ(list.MoveItemBy(3, -10), 0);  // clamped
  EXPECT_EQ(list.GetItemText(0, COL_NAME), QStringLiteral("c.mp4"));
}

TEST_F(ReportRowsTest, StateWordsFilterCountAndDelete) {
  for (int i = 0; i < 5; ++i) AddRow({});
  EXPECT_EQ(list.GetItemState(0), unsigned(RIS_UNSELECTED | RIS_UNCHECKED | RIS_UNFOCUSED));
  list.SetItemStates(1, RIS_SELECTED);
  list.SetItemStates(3, RIS_SELECTED | RIS_FOCUSED);
  EXPECT_EQ(list.GetItemCount(RIS_SELECTED), 2);
  EXPECT_EQ(list.GetItemCount(RIS_SELECTED | RIS_FOCUSED), 1);
  EXPECT_EQ(list.GetNextItem(-1, RIS_SELECTED), 1);
  EXPECT_EQ(list.GetNextItem(1, RIS_SELECTED), 3);
  EXPECT_EQ(list.GetNextItem(3, RIS_SELECTED), -1);

  list.InvertSelection();
  EXPECT_EQ(list.GetItemCount(RIS_SELECTED), 3);
  EXPECT_EQ(list.GetItemCount(RIS_UNSELECTED), 2);
  list.SetItemStatesAll(RIS_ALL, RIS_UNSELECTED);
  EXPECT_EQ(list.GetItemCount(RIS_SELECTED), 0);

  list.SetItemStatesAll(RIS_ALL, RIS_SELECTED);
  list.SetItemStates(2, RIS_UNSELECTED);
  EXPECT_EQ(list.DeleteItems(RIS_SELECTED), 4);
  EXPECT_EQ(list.GetItemCount(), 1);
  EXPECT_EQ(list.DeleteItems(RIS_ALL), 1);
  EXPECT_EQ(list.GetItemCount(), 0);
}

TEST_F(ReportRowsTest, DeletingScatteredRowsKeepsTheOthersStatesAndTheColumns) {
  for (const char* name : {"a", "b", "c", "d", "e", "f"}) AddRow({name});
  list.ShowColumn(COL_GENRE, false);
  list.SetColumnWidth(COL_ARTIST, 222);
  for (int row : {0, 2, 3, 5}) list.SetItemStates(row, RIS_SELECTED);
  list.SetItemStates(4, RIS_FOCUSED);
  list.SetCellTextColour(1, COL_TYPE, Rgb(255, 0, 0), false);
  // Rows a, c and f are both selected and unchecked; d is selected too.
  list.SetItemStates(3, RIS_CHECKED);
  EXPECT_EQ(list.DeleteItems(RIS_SELECTED | RIS_UNCHECKED), 3);
  EXPECT_EQ(Column(COL_NAME), (std::vector<std::string>{"b", "d", "e"}));
  EXPECT_EQ(list.GetItemState(0), unsigned(RIS_UNSELECTED | RIS_UNCHECKED | RIS_UNFOCUSED));
  EXPECT_EQ(list.GetItemState(1), unsigned(RIS_SELECTED | RIS_CHECKED | RIS_UNFOCUSED));
  EXPECT_EQ(list.GetItemState(2), unsigned(RIS_UNSELECTED | RIS_UNCHECKED | RIS_FOCUSED));
  EXPECT_EQ(list.GetCellTextColour(0, COL_TYPE), Rgb(255, 0, 0));
  EXPECT_EQ(list.GetItemUserData(1)->strArtist, QString());
  EXPECT_FALSE(list.IsColumnVisible(COL_GENRE));
  EXPECT_EQ(list.header()->visualIndex(COL_GENRE), 0);
  EXPECT_EQ(list.GetColumnWidth(COL_ARTIST), 222);
  list.DeleteItems(RIS_ALL);
  EXPECT_EQ(list.GetColumnWidth(COL_ARTIST), 222);
  EXPECT_FALSE(list.IsColumnVisible(COL_GENRE));
}

TEST_F(ReportRowsTest, DeleteItemSelectsTheNextRow) {
  for (const char* name : {"a.mp4", "b.mp4", "c.mp4"}) AddRow({name});
  list.SetItemStates(1, RIS_SELECTED | RIS_FOCUSED);
  ASSERT_TRUE(list.DeleteItem(1, true));
  EXPECT_EQ(Column(COL_NAME), (std::vector<std::string>{"a.mp4", "c.mp4"}));
  EXPECT_EQ(list.GetNextItem(-1, RIS_SELECTED | RIS_FOCUSED), 1);
  EXPECT_FALSE(list.DeleteItem(7, true));
}

TEST_F(ReportRowsTest, ColourSettersReachAllRowsOrColumnsOutsideTheList) {
  for (int i = 0; i < 3; ++i) AddRow({});
  list.SetCellBackColour(-1, COL_TAG, Rgb(1, 2, 3), false);
  list.SetCellTextColour(1, 99, Rgb(4, 5, 6), true);
  for (int row = 0; row < 3; ++row) EXPECT_EQ(list.GetCellBackColour(row, COL_TAG), Rgb(1, 2, 3));
  EXPECT_EQ(list.GetCellBackColour(0, COL_NAME), kDefaultColour);
  for (int column = 0; column < FILE_COLUMN_COUNT; ++column)
    EXPECT_EQ(list.GetCellTextColour(1, column), Rgb(4, 5, 6));
  EXPECT_EQ(list.GetCellTextColour(0, COL_NAME), kDefaultColour);
}

}  // namespace
