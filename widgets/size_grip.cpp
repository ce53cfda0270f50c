#include "widgets/size_grip.h"

#include <QEvent>
#include <QPolygon>
#include <QRegion>
#include <QStyle>

CSizeGripExt::CSizeGripExt(QWidget* parent) : QSizeGrip(parent) { hide(); }

void CSizeGripExt::ReadMetrics() {
  cx = style()->pixelMetric(QStyle::PM_ScrollBarExtent, nullptr, this);
  cy = cx;
  resize(cx, cy);
}

void CSizeGripExt::ApplyRegion() {
  if (!triangular) {
    clearMask();
    return;
  }
  const int w = width(), h = height();
  QPolygon triangle = isRightToLeft() ? QPolygon({QPoint(0, 0), QPoint(0, h), QPoint(w, h)})
                                      : QPolygon({QPoint(0, h), QPoint(w, h), QPoint(w, 0)});
  setMask(QRegion(triangle));
}

bool CSizeGripExt::Create(QWidget* parent, bool visible, bool triangular) {
  if (parent != parentWidget()) setParent(parent);
  this->triangular = triangular;
  ReadMetrics();
  ApplyRegion();
  SetVisible(visible);
  Reposition(parent);
  return true;
}

void CSizeGripExt::Reposition(QWidget* parent) {
  if (!parent) return;
  const int x = parent->isRightToLeft() ? 0 : parent->width() - cx;
  move(x, parent->height() - cy);
  lower();
  setVisible(visible != 0);
}

void CSizeGripExt::changeEvent(QEvent* e) {
  QSizeGrip::changeEvent(e);
  if (e->type() != QEvent::StyleChange && e->type() != QEvent::LayoutDirectionChange) return;
  // New metrics: a new size, still flush with the parent's corner.
  ReadMetrics();
  ApplyRegion();
  Reposition(parentWidget());
}
