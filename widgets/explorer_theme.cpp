#include "widgets/explorer_theme.h"

#include <QAbstractItemView>
#include <QApplication>
#include <QPainter>
#include <QProxyStyle>
#include <QStyleFactory>
#include <QStyleOptionViewItem>
#include <QTreeView>

namespace {

class ExplorerStyle : public QProxyStyle {
 public:
  using QProxyStyle::QProxyStyle;

  void drawPrimitive(PrimitiveElement element, const QStyleOption* option, QPainter* painter,
                     const QWidget* widget) const override {
    if (element == PE_FrameFocusRect) return;
    QProxyStyle::drawPrimitive(element, option, painter, widget);
    if (element == PE_PanelItemViewItem && (option->state & State_MouseOver) &&
        !(option->state & State_Selected)) {
      QColor hover = option->palette.color(QPalette::Highlight);
      hover.setAlpha(40);
      painter->fillRect(option->rect, hover);
    }
  }
};

}  // namespace

void ApplyExplorerTheme(QAbstractItemView* view) {
  if (!view) return;
  view->setSelectionBehavior(QAbstractItemView::SelectRows);
  view->setMouseTracking(true);
  view->viewport()->setAttribute(Qt::WA_Hover);
  if (auto* tree = qobject_cast<QTreeView*>(view)) tree->setAllColumnsShowFocus(true);
  // A style of the view's own, made from the application's style.
  auto* style = new ExplorerStyle(QStyleFactory::create(QApplication::style()->name()));
  style->setParent(view);
  view->setStyle(style);
}
