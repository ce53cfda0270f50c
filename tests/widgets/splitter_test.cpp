#include <gtest/gtest.h>

#include <QApplication>
#include <QKeyEvent>
#include <QLineEdit>
#include <QMouseEvent>

#include "platform/ui/profile.h"
#include "widgets/splitter.h"

namespace {

void Mouse(QWidget* w, QEvent::Type type, int x, Qt::MouseButtons buttons) {
  const QPointF pos(x, 50);
  QMouseEvent e(type, pos, w->mapToGlobal(pos), Qt::LeftButton, buttons, Qt::NoModifier);
  QApplication::sendEvent(w, &e);
}

void Drag(QWidget* w, int from, int to, bool escape = false) {
  Mouse(w, QEvent::MouseButtonPress, from, Qt::LeftButton);
  Mouse(w, QEvent::MouseMove, (from + to) / 2, Qt::LeftButton);
  Mouse(w, QEvent::MouseMove, to, Qt::LeftButton);
  if (escape) {
    QKeyEvent key(QEvent::KeyPress, Qt::Key_Escape, Qt::NoModifier);
    QApplication::sendEvent(QApplication::focusWidget() ? QApplication::focusWidget() : w, &key);
  }
  Mouse(w, QEvent::MouseButtonRelease, to, Qt::NoButton);
}

// A window with a tree-like pane and a list-like pane, as the main window has.
struct SplitWindow {
  explicit SplitWindow(int id = 103, int width = 600) {
    window.resize(width, 400);
    left = new QLineEdit;
    right = new QLineEdit;
    splitter = new CSSplitter;
    splitter->Create(SPS_VERTICAL, &window, left, right, id, {0, 0, width, 400}, 100, 150);
    window.show();
  }
  int LeftWidth() const { return left->width(); }
  QWidget window;
  QLineEdit* left;
  QLineEdit* right;
  CSSplitter* splitter;
};

}  // namespace

TEST(Splitter, FirstStartPutsTheBarAt200) {
  SplitWindow w(201);
  EXPECT_EQ(w.LeftWidth(), 200);
  EXPECT_EQ(w.right->x(), 203);  // panes 3 pixels apart
  EXPECT_EQ(w.right->geometry().right(), 599);
  EXPECT_EQ(w.left->parentWidget(), w.splitter);
}

TEST(Splitter, ShrinkingKeepsTheLeftWidthWithinBothMinimums) {
  SplitWindow w(202);
  struct Step {
    int width, expectLeft;
  } steps[] = {{500, 200}, {352, 200}, {300, 149}, {240, 99}, {200, 99}, {700, 200}};
  for (const Step& s : steps) {
    w.splitter->resize(s.width, 400);
    // x = min(left width + 1, width - 150), then at least 100; the pane ends a pixel before x.
    EXPECT_EQ(w.LeftWidth(), s.expectLeft) << "width " << s.width;
  }
}

TEST(Splitter, DragIsClampedAndSaved) {
  {
    SplitWindow w(203);
    Drag(w.splitter, 201, 320);
    EXPECT_EQ(w.LeftWidth(), 319);
    Drag(w.splitter, 320, 2000);  // beyond the right minimum
    EXPECT_EQ(w.LeftWidth(), 600 - 150 - 1);
    Drag(w.splitter, 450, -50);  // beyond the left minimum
    EXPECT_EQ(w.LeftWidth(), 99);
    Drag(w.splitter, 100, 250);
    EXPECT_EQ(w.LeftWidth(), 249);
  }
  EXPECT_EQ(platform::GetProfileInt("splt\\init_v203", "VertSplitPos", 0), 249);
  SplitWindow again(203);
  EXPECT_EQ(again.LeftWidth(), 249);
}

TEST(Splitter, EscapeCancelsTheDragAndGivesTheFocusBack) {
  SplitWindow w(204);
  w.window.activateWindow();
  w.right->setFocus();
  Drag(w.splitter, 201, 350, /*escape=*/true);
  EXPECT_EQ(w.LeftWidth(), 200);
  EXPECT_EQ(w.window.focusWidget(), w.right);
  EXPECT_EQ(w.splitter->m_bCapture, 0);
  // A press outside the bar starts nothing.
  Drag(w.splitter, 300, 400);
  EXPECT_EQ(w.LeftWidth(), 200);
}

TEST(Splitter, HiddenLeftPaneKeepsTheStoredPosition) {
  {
    SplitWindow w(205);
    Drag(w.splitter, 201, 260);
  }
  {
    SplitWindow w(205);
    ASSERT_EQ(w.LeftWidth(), 259);
    w.splitter->HideLeftPane();
    EXPECT_FALSE(w.splitter->IsLeftPaneVisible());
    EXPECT_FALSE(w.left->isVisible());
    EXPECT_EQ(w.right->geometry(), QRect(0, 0, 600, 400));
    Drag(w.splitter, 260, 400);  // no bar to drag
    EXPECT_EQ(w.right->geometry(), QRect(0, 0, 600, 400));
    w.splitter->resize(500, 400);
    EXPECT_EQ(w.right->geometry(), QRect(0, 0, 500, 400));
    w.splitter->resize(600, 400);
    w.splitter->ShowLeftPane();
    EXPECT_TRUE(w.left->isVisible());
    EXPECT_EQ(w.LeftWidth(), 259);
    w.splitter->HideLeftPane();
    ASSERT_TRUE(platform::WriteProfileInt("splt\\init_v205", "VertSplitPos", 222));
  }
  // Closed while hidden: nothing was written over the stored value.
  EXPECT_EQ(platform::GetProfileInt("splt\\init_v205", "VertSplitPos", 0), 222);
}
