// Sorting the file list: header clicks, sort keys, the comparison and the row colours.
#include <QHeaderView>
#include <QTest>

#include "mainwnd/report_compare.h"
#include "tests/mainwnd/report_list_fixture.h"
#include "tests/support/ui_test_support.h"

namespace {

using Keys = std::vector<ColumnSortInfo>;

TEST(PushSortKeyTest, ClickRules) {
  struct Case {
    const char* what;
    Keys before;
    int column;
    Keys after;
  } cases[] = {
      {"new column starts ascending in front", {{0, 1}}, 4, {{4, 1}, {0, 1}}},
      {"first key again reverses", {{4, 1}, {0, 1}}, 4, {{4, 0}, {0, 1}}},
      {"first key reversed back", {{4, 0}, {0, 1}}, 4, {{4, 1}, {0, 1}}},
      {"later key keeps its direction", {{4, 1}, {6, 0}, {0, 1}}, 6, {{6, 0}, {4, 1}, {0, 1}}},
      {"seventh key drops the oldest",
       {{1, 1}, {2, 1}, {3, 1}, {4, 1}, {5, 1}, {6, 1}}, 7,
       {{7, 1}, {1, 1}, {2, 1}, {3, 1}, {4, 1}, {5, 1}}},
      {"empty keys", {}, 2, {{2, 1}}},
  };
  for (auto& c : cases) {
    Keys keys = c.before;
    PushSortKey(keys, c.column);
    EXPECT_TRUE(keys == c.after) << c.what;
  }
}

TEST(CompareTextBytesTest, OrdersLikeUtf8Bytes) {
  struct Case {
    const char* a;
    const char* b;
    int expected;
  } cases[] = {
      {"Zebra", "apple", -1},            // upper case bytes come first
      {"apple", "apple", 0},
      {"app", "apple", -1},              // a shorter prefix first
      {"", "a", -1},
      {"zebra", "\xC3\x89mile", -1},     // É (C3 89) after every ASCII byte
      {"\xEF\xBF\xBD", "\xF0\x9F\x98\x80", -1},  // U+FFFD before U+1F600, as their bytes
      {"\xF0\x9F\x98\x80", "\xEE\x80\x80", 1},   // U+1F600 after U+E000
  };
  for (auto& c : cases) {
    const QString a = QString::fromUtf8(c.a);
    const QString b = QString::fromUtf8(c.b);
    EXPECT_EQ(CompareTextBytes(a, b), c.expected) << c.a << " vs " << c.b;
    EXPECT_EQ(CompareTextBytes(b, a), -c.expected) << c.b << " vs " << c.a;
    // The reference: the UTF-8 bytes themselves.
    const int bytes = std::string(c.a).compare(c.b);
    EXPECT_EQ(CompareTextBytes(a, b), bytes < 0 ? -1 : bytes > 0 ? 1 : 0) << c.a;
  }
}

class ReportSortTest : public ReportListTest {
 protected:
  void SetUp() override {
    list.SetSortable(true);
    list.SetSortKeys({{COL_NAME, 1}});
    ShowList();
  }
  // A real click on the middle of the column's header section.
  void ClickHeader(int column) {
    QHeaderView* head = list.header();
    if (head->sectionViewportPosition(column) + head->sectionSize(column) > head->width())
      head->setOffsetToSectionPosition(head->visualIndex(column));
    const QPoint middle(head->sectionViewportPosition(column) + head->sectionSize(column) / 2,
                        head->height() / 2);
    QTest::mouseClick(head->viewport(), Qt::LeftButton, {}, middle);
  }
};

TEST_F(ReportSortTest, ClickingArtistThreeTimesFlipsAndReportsEachSort) {
  AddRow({"1.mp4", "Beta"});
  AddRow({"2.mp4", "Alpha"});
  AddRow({"3.mp4", "Gamma"});
  const std::vector<std::string> up = {"Alpha", "Beta", "Gamma"};
  const std::vector<std::string> down = {"Gamma", "Beta", "Alpha"};

  ClickHeader(COL_ARTIST);
  EXPECT_EQ(Column(COL_ARTIST), up);
  ClickHeader(COL_ARTIST);
  EXPECT_EQ(Column(COL_ARTIST), down);
  ClickHeader(COL_ARTIST);
  EXPECT_EQ(Column(COL_ARTIST), up);

  const auto sorted = Posted(WM_LIST_SORTED);
  ASSERT_EQ(sorted.size(), 3u);
  const int directions[] = {1, 0, 1};
  for (int i = 0; i < 3; ++i) {
    EXPECT_EQ(sorted[i].wParam, platform::WPARAM(COL_ARTIST));
    EXPECT_EQ(sorted[i].lParam, directions[i]);
  }
  EXPECT_EQ(g_bListBusy.load(), 0);
}

TEST_F(ReportSortTest, AlbumThenArtistBreaksTiesByAlbumInArtistsDirection) {
  AddRow({"1.mp4", "B", "y"});
  AddRow({"2.mp4", "A", "z"});
  AddRow({"3.mp4", "B", "x"});
  AddRow({"4.mp4", "A", "w"});
  ClickHeader(COL_ALBUM);
  ClickHeader(COL_ARTIST);
  EXPECT_EQ(Column(COL_NAME), (std::vector<std::string>{"4.mp4", "2.mp4", "3.mp4", "1.mp4"}));
  ClickHeader(COL_ARTIST);  // descending: the album tie-break turns round with it
  EXPECT_EQ(Column(COL_NAME), (std::vector<std::string>{"1.mp4", "3.mp4", "2.mp4", "4.mp4"}));
}

TEST_F(ReportSortTest, SevenColumnsClickedLeaveSixKeys) {
  list.SetSortKeys({});
  const int clicked[] = {COL_ARTIST, COL_ALBUM, COL_TRACK, COL_TITLE, COL_GENRE, COL_DATE, COL_SIZE};
  for (int column : clicked) ClickHeader(column);
  const Keys& keys = list.GetSortKeys();
  ASSERT_EQ(keys.size(), 6u);
  for (std::size_t i = 0; i < 6; ++i) EXPECT_EQ(keys[i].column, clicked[6 - i]);
}

TEST_F(ReportSortTest, TrackSortsByNumberThenTotal) {
  AddRow({"a.mp4", "", "", 10, 12});
  AddRow({"b.mp4", "", "", 3, 9});
  AddRow({"c.mp4", "", "", 2, 10});
  AddRow({"d.mp4", "", "", 3, 4});
  AddRow({"e.mp4", "", "", 300, 0});
  AddRow({"f.mp4", "", "", 50, 0});
  ClickHeader(COL_TRACK);
  EXPECT_EQ(Column(COL_TRACK),
            (std::vector<std::string>{"2/10", "3/4", "3/9", "10/12", "50", "300"}));
}

TEST_F(ReportSortTest, TextColumnsSortByBytesCaseSensitively) {
  AddRow({"1.mp4", "", "", 0, 0, "apple"});
  AddRow({"2.mp4", "", "", 0, 0, "\xC3\x89tude"});
  AddRow({"3.mp4", "", "", 0, 0, "Zebra"});
  AddRow({"4.mp4", "", "", 0, 0, ""});
  ClickHeader(COL_TITLE);
  EXPECT_EQ(Column(COL_TITLE), (std::vector<std::string>{"", "Zebra", "apple", "\xC3\x89tude"}));
}

TEST_F(ReportSortTest, SortingWithoutButtonStyleOnlyRecordsTheKey) {
  AddRow({"1.mp4", "B"});
  AddRow({"2.mp4", "A"});
  list.SetSortable(false);
  list.OnColumnClick(COL_ARTIST);
  EXPECT_EQ(list.GetSortKeys().front().column, COL_ARTIST);
  EXPECT_EQ(Column(COL_ARTIST), (std::vector<std::string>{"B", "A"}));
  EXPECT_TRUE(Posted(WM_LIST_SORTED).empty());
}

TEST_F(ReportSortTest, SelectionAndRecordsTravelWithTheirRows) {
  AddRow({"1.mp4", "C"});
  AddRow({"2.mp4", "A"});
  AddRow({"3.mp4", "B"});
  list.SetItemStates(0, RIS_SELECTED | RIS_FOCUSED);
  ClickHeader(COL_ARTIST);
  EXPECT_EQ(list.GetNextItem(-1, RIS_SELECTED), 2);
  EXPECT_EQ(list.GetItemState(2) & RIS_FOCUSED, RIS_FOCUSED);
  EXPECT_EQ(list.GetItemUserData(2)->strArtist, QStringLiteral("C"));
  EXPECT_EQ(list.GetItemText(2, COL_NAME), QStringLiteral("1.mp4"));
}

TEST_F(ReportSortTest, RowColoursBandTintAndKeepErrorRowsPink) {
  const ReportColour pink = Rgb(255, 225, 241);
  AddRow({"1.mp4", "D"});
  AddRow({"2.mp4", "B", "", 0, 0, "", true});
  AddRow({"3.mp4", "A"});
  AddRow({"4.mp4", "C", "", 0, 0, "", true});
  AddRow({"5.mp4", "E"});
  for (int column : {COL_ARTIST, COL_NAME, COL_TRACK, COL_ARTIST}) {
    ClickHeader(column);
    const int sortColumn = list.GetSortKeys().front().column;
    for (int row = 0; row < list.GetItemCount(); ++row) {
      const bool error = list.GetItemUserData(row)->bError;
      for (int c = 0; c < list.GetColumnCount(); ++c) {
        ReportColour expected = pink;
        if (!error)
          expected = row % 2 ? (c == sortColumn ? Rgb(235, 238, 250) : Rgb(243, 245, 252))
                             : (c == sortColumn ? Rgb(247, 248, 253) : Rgb(255, 255, 255));
        EXPECT_EQ(list.GetCellBackColour(row, c), expected) << "row " << row << " col " << c;
      }
    }
  }
  // Without the highlight the sort column blends into its band.
  list.ColourRows(false);
  EXPECT_EQ(list.GetCellBackColour(0, list.GetSortKeys().front().column), Rgb(255, 255, 255));
}

TEST_F(ReportSortTest, ScreenshotSortedByArtist) {
  const RowValues rows[] = {
      {"song one.mp4", "Nina Simone", "Pastel Blues", 3, 9, "Be My Husband"},
      {"track02.mp4", "Miles Davis", "Kind of Blue", 2, 5, "Freddie Freeloader"},
      {"broken.mp4", "", "", 0, 0, "", true},
      {"intro.mp4", "Björk", "Homogenic", 1, 10, "Hunter"},
      {"zz top.mp4", "ZZ Top", "Eliminator", 7, 11, "Legs"},
      {"ambient.mp4", "Brian Eno", "Music for Airports", 1, 4, "1/1"},
  };
  for (const auto& r : rows) AddRow(r);
  list.SetItemText(2, COL_TYPE, QStringLiteral("Unknown"));
  list.SetCellTextColour(2, COL_TYPE, Rgb(255, 0, 0), true);
  ClickHeader(COL_ARTIST);
  list.SetHeaderImage(COL_ARTIST, 1);
  ShowList();
  SaveScreenshot(&list, QStringLiteral("list-sorted-by-artist"));
}

}  // namespace
