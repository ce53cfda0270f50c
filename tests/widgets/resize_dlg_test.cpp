#include <gtest/gtest.h>

#include <QLabel>
#include <vector>

#include "tests/support/ui_test_support.h"
#include "widgets/resize_dlg.h"

namespace {

struct Registration {
  unsigned hLeft, hRight, vTop, vBottom;
  double hRatio = -1, hRatio2 = -1, vRatio = -1, vRatio2 = -1;
};

// A dialog of 400 x 300 pixels with one control, registered by the rules given.
class TestDlg : public CResizeDlg {
 public:
  TestDlg(QRect control, std::vector<Registration> registrations)
      : CResizeDlg(nullptr, nullptr), m_registrations(std::move(registrations)) {
    resize(400, 300);
    auto* other = new QLabel("other", this);
    platform::SetControlId(other, 1);
    other->setGeometry(5, 5, 20, 10);
    m_control = new QLabel("control", this);
    platform::SetControlId(m_control, 7);
    m_control->setGeometry(control);
  }
  QRect ControlRect() const { return m_control->geometry(); }

 protected:
  bool OnInitDialog() override {
    CResizeDlg::OnInitDialog();
    AddControl(1, RSZ_NONE, RSZ_NONE, RSZ_NONE, RSZ_NONE);
    for (const auto& r : m_registrations)
      AddControl(7, r.hLeft, r.hRight, r.vTop, r.vBottom, 0, r.hRatio, r.hRatio2, r.vRatio,
                 r.vRatio2);
    return true;
  }

 private:
  std::vector<Registration> m_registrations;
  QLabel* m_control;
};

void ResizeTo(QWidget& w, QSize size) {
  w.resize(size);
  RunUntil([&] { return w.size() == size; }, 2000);
}

struct ResizeCase {
  const char* name;
  QRect control;
  std::vector<Registration> registrations;
  std::vector<QSize> sizes;  // client sizes, one after another
  QRect expected;
};

void PrintTo(const ResizeCase& c, std::ostream* os) { *os << c.name; }

class ResizeRules : public ::testing::TestWithParam<ResizeCase> {};

}  // namespace

TEST_P(ResizeRules, ControlEndsWhereTheRuleSays) {
  const ResizeCase& c = GetParam();
  TestDlg dlg(c.control, c.registrations);
  dlg.show();
  for (QSize size : c.sizes) ResizeTo(dlg, size);
  EXPECT_EQ(dlg.ControlRect(), c.expected) << c.name;
}

INSTANTIATE_TEST_SUITE_P(
    Table, ResizeRules,
    ::testing::Values(
        // Centre at 40 % of the width: left = trunc(width x 0.4 - w x 0.5).
        ResizeCase{"centre", {140, 20, 40, 10}, {{RSZ_CENTER, RSZ_CENTER, RSZ_NONE, RSZ_NONE, 1.0}},
                   {{600, 300}, {333, 300}}, {113, 20, 40, 10}},
        ResizeCase{"stretch", {10, 20, 380, 10}, {{RSZ_STRETCH, RSZ_STRETCH, RSZ_NONE, RSZ_NONE}},
                   {{500, 300}, {450, 300}}, {10, 20, 430, 10}},
        ResizeCase{"move down", {10, 260, 50, 20}, {{RSZ_NONE, RSZ_NONE, RSZ_MOVE, RSZ_MOVE}},
                   {{400, 350}, {400, 320}}, {10, 280, 50, 20}},
        ResizeCase{"stretch both", {3, 144, 394, 100},
                   {{RSZ_STRETCH, RSZ_STRETCH, RSZ_STRETCH, RSZ_STRETCH}}, {{500, 400}},
                   {3, 144, 494, 200}},
        // Scaling after several steps comes back exactly to the registration rectangle.
        ResizeCase{"scale back", {100, 50, 100, 30}, {{RSZ_SCALE, RSZ_SCALE, RSZ_SCALE, RSZ_SCALE}},
                   {{533, 300}, {800, 451}, {400, 300}}, {100, 50, 100, 30}},
        ResizeCase{"scale", {100, 50, 100, 30}, {{RSZ_SCALE, RSZ_SCALE, RSZ_NONE, RSZ_NONE}},
                   {{533, 300}}, {133, 50, 133, 30}},
        // Ratio: the left edge moves by half the growth, the width grows by a quarter.
        ResizeCase{"ratio", {100, 50, 100, 30},
                   {{RSZ_RATIO, RSZ_RATIO, RSZ_NONE, RSZ_NONE, 0.5, 0.25}}, {{450, 300}, {500, 300}},
                   {150, 50, 125, 30}},
        // Registered twice: the second registration's rules apply.
        ResizeCase{"re-registered", {10, 20, 50, 10},
                   {{RSZ_MOVE, RSZ_MOVE, RSZ_NONE, RSZ_NONE},
                    {RSZ_STRETCH, RSZ_STRETCH, RSZ_NONE, RSZ_NONE}},
                   {{500, 300}}, {10, 20, 150, 10}}),
    [](const auto& info) {
      std::string name = info.param.name;
      for (char& ch : name)
        if (!isalnum(static_cast<unsigned char>(ch))) ch = '_';
      return name;
    });

TEST(ResizeDlg, ReRegistrationKeepsOneEntryInItsPlace) {
  TestDlg dlg({10, 20, 50, 10}, {{RSZ_MOVE, RSZ_MOVE, RSZ_NONE, RSZ_NONE},
                                 {RSZ_STRETCH, RSZ_STRETCH, RSZ_NONE, RSZ_NONE}});
  dlg.show();
  ASSERT_EQ(dlg.Controls().size(), 2u);
  EXPECT_EQ(dlg.Controls()[0].id, 1u);
  EXPECT_EQ(dlg.Controls()[1].id, 7u);
  EXPECT_EQ(dlg.Controls()[1].hRight, RSZ_STRETCH);
}

// A maximize and a restore are moves of the right and bottom edges: a control
// that follows the bottom right corner comes back to where it was; the grip is
// hidden while maximized.
TEST(ResizeDlg, MaximizeAndRestore) {
  TestDlg dlg({300, 260, 80, 20}, {{RSZ_MOVE, RSZ_MOVE, RSZ_MOVE, RSZ_MOVE}});
  dlg.show();
  ASSERT_TRUE(dlg.Grip()->isVisible());
  const QSize normal = dlg.size();
  const QRect before = dlg.ControlRect();
  dlg.showMaximized();
  if (!RunUntil([&] { return dlg.size() != normal; }, 3000))
    GTEST_SKIP() << "this display maximizes no window (no window manager)";
  EXPECT_EQ(dlg.ControlRect().right(), before.right() + dlg.width() - normal.width());
  EXPECT_FALSE(dlg.Grip()->isVisible());
  dlg.showNormal();
  ASSERT_TRUE(RunUntil([&] { return dlg.size() == normal; }, 3000));
  EXPECT_EQ(dlg.ControlRect(), before);
  EXPECT_TRUE(dlg.Grip()->isVisible());
  const QPoint corner = dlg.Grip()->geometry().bottomRight();
  EXPECT_EQ(corner, QPoint(dlg.width() - 1, dlg.height() - 1));
}

TEST(ResizeDlg, HiddenGripComesBackWithTheNextSizeChange) {
  TestDlg dlg({10, 10, 10, 10}, {});
  dlg.show();
  dlg.HideSizeGrip();
  EXPECT_FALSE(dlg.Grip()->isVisible());
  ResizeTo(dlg, {420, 310});
  EXPECT_TRUE(dlg.Grip()->isVisible());
}
