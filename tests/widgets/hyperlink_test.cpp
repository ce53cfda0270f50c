#include <gtest/gtest.h>

#include <QApplication>
#include <QCursor>
#include <QMouseEvent>

#include "platform/core/message_box.h"
#include "platform/ui/shell.h"
#include "tests/support/ui_test_support.h"
#include "widgets/hyperlink.h"

namespace {

void Send(QWidget* w, QEvent::Type type, Qt::MouseButton button = Qt::NoButton) {
  const QPointF pos(2, 2);
  QMouseEvent e(type, pos, w->mapToGlobal(pos), button,
                type == QEvent::MouseButtonPress ? Qt::MouseButtons(button) : Qt::NoButton,
                Qt::NoModifier);
  QApplication::sendEvent(w, &e);
}

void Click(QWidget* w) {
  Send(w, QEvent::MouseButtonPress, Qt::LeftButton);
  Send(w, QEvent::MouseButtonRelease, Qt::LeftButton);
}

QColor TextColour(const QWidget& w) { return w.palette().color(QPalette::WindowText); }

struct ShellResult {
  explicit ShellResult(int result) {
    platform::SetShellOpenHook([this, result](const QString& target) {
      opened.push_back(target);
      return result;
    });
  }
  ~ShellResult() { platform::SetShellOpenHook(nullptr); }
  QStringList opened;
};

}  // namespace

TEST(HyperLink, TextAndTargetStandInForEachOther) {
  CHyperLink byText("https://korvane.example/");
  EXPECT_EQ(byText.Target(), "https://korvane.example/");
  EXPECT_EQ(byText.toolTip(), "https://korvane.example/");
  CHyperLink byTarget({}, nullptr, "mailto:support@korvane.example");
  EXPECT_EQ(byTarget.text(), "mailto:support@korvane.example");
  // Fitted to its text.
  EXPECT_EQ(byText.width(), byText.fontMetrics().horizontalAdvance(byText.text()));
}

TEST(HyperLink, HoverLightsUpAndFadesWhenTheMouseLeaves) {
  QWidget window;
  auto* link = new CHyperLink("Korvane home page", &window, "https://korvane.example/");
  link->move(10, 10);
  window.show();
  EXPECT_EQ(TextColour(*link), QColor(0, 0, 238));
  EXPECT_FALSE(link->font().underline());

  QCursor::setPos(link->mapToGlobal(QPoint(2, 2)));
  Send(link, QEvent::MouseMove);
  EXPECT_EQ(TextColour(*link), QColor(255, 0, 0));
  EXPECT_TRUE(link->font().underline());

  QCursor::setPos(window.mapToGlobal(QPoint(300, 300)));
  EXPECT_TRUE(RunUntil([&] { return !link->m_bHot; }, 1000));
  EXPECT_FALSE(link->font().underline());
  EXPECT_EQ(TextColour(*link), QColor(0, 0, 238));
}

TEST(HyperLink, OpenedLinkTakesTheFollowedColour) {
  ShellResult shell(42);
  CHyperLink link("Korvane home page", nullptr, "https://korvane.example/");
  Click(&link);
  EXPECT_EQ(shell.opened, QStringList{"https://korvane.example/"});
  EXPECT_TRUE(link.m_bFollowed);
  EXPECT_EQ(TextColour(link), QColor(85, 26, 139));
}

TEST(HyperLink, FailureShowsTheShellsReason) {
  struct Case {
    int result;
    const char* reason;
  } cases[] = {{26, "A sharing violation occurred. "},
               {31, "There is no application associated\nwith the given filename extension."},
               {2, "The specified file was not found."},
               {15, "Unknown Error (15) occurred."}};
  for (const Case& c : cases) {
    ShellResult shell(c.result);
    MessageBoxAnswers answers(platform::IDOK);
    CHyperLink link("Support", nullptr, "mailto:support@korvane.example");
    Click(&link);
    ASSERT_EQ(answers.Asked().size(), 1u);
    EXPECT_EQ(answers.Asked()[0].text, QString("Unable to open hyperlink:\n\n") + c.reason);
    EXPECT_EQ(answers.Asked()[0].flags, platform::MB_ICONWARNING);
    EXPECT_FALSE(link.m_bFollowed);
    EXPECT_EQ(TextColour(link), QColor(0, 0, 238));
  }
}

TEST(HyperLink, MissingLocalFileIsReportedByTheShell) {
  EXPECT_EQ(platform::ShellOpen("/nonexistent-korvane-folder/file.txt"), platform::SE_ERR_PNF);
  EXPECT_EQ(platform::ShellOpen("/tmp/nonexistent-korvane-file.txt"), platform::SE_ERR_FNF);
}
