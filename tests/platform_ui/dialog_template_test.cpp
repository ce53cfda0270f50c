#include <gtest/gtest.h>

#include <QFontMetrics>
#include <QGroupBox>
#include <QHeaderView>
#include <QLabel>
#include <QProgressBar>
#include <QPushButton>
#include <QTreeWidget>
#include <QWidget>

#include "platform/ui/dialog_template.h"

using namespace platform;

namespace {

const DialogTemplate kTemplate{
    42, 200, 100, "Tahoma", 8,
    {{10, ControlKind::GroupBox, "Group", 7, 4, 186, 48},
     {11, ControlKind::Label, "0.00%", 48, 36, 30, 10, CS_RIGHT},
     {12, ControlKind::ProgressBar, "", 14, 20, 170, 10},
     {13, ControlKind::ListView, "", 3, 55, 190, 30, CS_NOSORTHEADER},
     {2, ControlKind::PushButton, "Cancel", 140, 85, 48, 13, CS_DISABLED}}};

}  // namespace

TEST(DialogTemplate, DialogUnitsFollowTheFont) {
  for (int points : {8, 12}) {
    QFont font("Sans", points);
    QFontMetrics fm(font);
    QSize base = DialogBaseUnits(font);
    EXPECT_EQ(base.height(), fm.height());
    // The average letter width, within rounding.
    EXPECT_NEAR(base.width(), fm.averageCharWidth(), 2);
    // Edges are converted one by one, rounded, so adjacent controls stay adjacent.
    QRect r = DialogUnitsToPixels({7, 4, 354, 48}, base);
    EXPECT_EQ(r.left(), (7 * base.width() + 2) / 4);
    EXPECT_EQ(r.x() + r.width(), (361 * base.width() + 2) / 4);
    EXPECT_EQ(r.y() + r.height(), (52 * base.height() + 4) / 8);
  }
}

TEST(DialogTemplate, BuildsEveryControlFindableByItsId) {
  QWidget dialog;
  BuildDialog(&dialog, kTemplate);
  const QSize base = DialogBaseUnits(dialog.font());
  EXPECT_EQ(dialog.size(), DialogUnitsToPixels({0, 0, 200, 100}, base).size());

  for (const auto& c : kTemplate.controls) {
    QWidget* w = FindControl(&dialog, c.id);
    ASSERT_NE(w, nullptr) << c.id;
    EXPECT_EQ(ControlId(w), c.id);
    EXPECT_EQ(w->geometry(), DialogUnitsToPixels({c.x, c.y, c.cx, c.cy}, base)) << c.id;
  }
  EXPECT_EQ(FindControl<QGroupBox>(&dialog, 10)->title(), "Group");
  auto* value = FindControl<QLabel>(&dialog, 11);
  ASSERT_NE(value, nullptr);
  EXPECT_TRUE(value->alignment() & Qt::AlignRight);
  EXPECT_NE(FindControl<QProgressBar>(&dialog, 12), nullptr);
  EXPECT_FALSE(FindControl<QTreeWidget>(&dialog, 13)->header()->sectionsClickable());
  auto* cancel = FindControl<QPushButton>(&dialog, 2);
  EXPECT_FALSE(cancel->isEnabled());
  EXPECT_FALSE(cancel->autoDefault());  // Enter must not press whatever has the focus
  EXPECT_EQ(FindControl(&dialog, 99), nullptr);
  EXPECT_EQ(FindControl<QLabel>(&dialog, 12), nullptr);  // wrong kind

  SetItemText(&dialog, 2, "Finish");
  SetItemText(&dialog, 10, "Overall");
  EXPECT_EQ(GetItemText(&dialog, 2), "Finish");
  EXPECT_EQ(GetItemText(&dialog, 10), "Overall");
}

TEST(DialogTemplate, FactorySuppliesCustomControls) {
  QWidget dialog;
  QWidget* custom = nullptr;
  BuildDialog(&dialog, kTemplate, [&](const ControlTemplate& c, QWidget* parent) -> QWidget* {
    if (c.id != 11) return nullptr;
    return custom = new QPushButton(QString::fromUtf8(c.text), parent);
  });
  EXPECT_EQ(FindControl(&dialog, 11), custom);
  EXPECT_EQ(GetItemText(&dialog, 11), "0.00%");
}
