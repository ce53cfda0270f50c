#include "platform/ui/app_icon.h"

#include <QApplication>
#include <QLinearGradient>
#include <QPainter>
#include <QPainterPath>
#include <QPixmap>

#include "platform/ui/profile.h"
#include "platform/ui/ui_thread.h"

namespace platform {

namespace {

QPixmap Draw(int size) {
  QPixmap pixmap(size, size);
  pixmap.fill(Qt::transparent);
  QPainter p(&pixmap);
  p.setRenderHint(QPainter::Antialiasing);
  p.scale(size / 256.0, size / 256.0);

  QLinearGradient bg(16, 16, 240, 240);
  bg.setColorAt(0, QColor(0x2f, 0x6f, 0xdb));
  bg.setColorAt(1, QColor(0x6a, 0x3f, 0xd1));
  p.setPen(Qt::NoPen);
  p.setBrush(bg);
  p.drawRoundedRect(QRectF(16, 16, 224, 224), 48, 48);

  p.setBrush(Qt::white);
  p.drawRect(QRectF(120, 56, 16, 116));
  p.save();
  p.translate(104, 172);
  p.rotate(-20);
  p.drawEllipse(QPointF(0, 0), 32, 24);
  p.restore();
  QPainterPath flag;
  flag.moveTo(136, 56);
  flag.cubicTo(170, 70, 190, 92, 176, 130);
  flag.cubicTo(172, 108, 156, 98, 136, 98);
  flag.closeSubpath();
  p.drawPath(flag);

  QPen arrow(QColor(0xff, 0xb0, 0x20), 18, Qt::SolidLine, Qt::RoundCap, Qt::RoundJoin);
  p.setPen(arrow);
  p.setBrush(Qt::NoBrush);
  const QPointF chevron[] = {{166, 150}, {198, 176}, {166, 202}};
  p.drawPolyline(chevron, 3);
  return pixmap;
}

}  // namespace

QIcon AppIcon() {
  static const QIcon icon = [] {
    QIcon i;
    for (int size : {16, 24, 32, 48, 64, 128, 256}) i.addPixmap(Draw(size));
    return i;
  }();
  return icon;
}

void InitUiApplication() {
  QCoreApplication::setOrganizationName(QString::fromLatin1(kProfileOrganization));
  QCoreApplication::setApplicationName(QString::fromLatin1(kProfileApplication));
  QGuiApplication::setDesktopFileName(QStringLiteral("korvane"));
  QApplication::setWindowIcon(AppIcon());
  InitUiThread();
}

}  // namespace platform
