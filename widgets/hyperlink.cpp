#include "widgets/hyperlink.h"

#include <QApplication>
#include <QCursor>
#include <QEvent>
#include <QMouseEvent>

#include "platform/ui/shell.h"
#include "platform/ui/ui_message_box.h"

CHyperLink::CHyperLink(const QString& text, QWidget* parent, const QString& target)
    : QLabel(text, parent), m_strTarget(target) {
  if (m_strTarget.isEmpty()) m_strTarget = this->text();
  if (this->text().isEmpty()) setText(m_strTarget);
  setTextFormat(Qt::PlainText);
  setAutoFillBackground(true);
  setBackgroundRole(QPalette::Window);
  setMouseTracking(true);
  setCursor(Qt::PointingHandCursor);
  setToolTip(m_strTarget);
  m_fontPlain = font();
  m_fontUnderlined = m_fontPlain;
  m_fontUnderlined.setUnderline(true);
  m_hoverTimer.setInterval(kHoverCheckMs);
  connect(&m_hoverTimer, &QTimer::timeout, this, &CHyperLink::OnHoverTimer);
  UpdateLook();
  FitToText();
}

void CHyperLink::SetTarget(const QString& target) {
  m_strTarget = target;
  FitToText();
  setToolTip(m_strTarget);
}

QString CHyperLink::ErrorText(int result) {
  switch (result) {
    case 0: return QStringLiteral("The operating system is out\nof memory or resources.");
    case 2: return QStringLiteral("The specified file was not found.");
    case 3: return QStringLiteral("The specified path was not found.");
    case 5: return QStringLiteral("The operating system denied\naccess to the specified file.");
    case 8: return QStringLiteral("There was not enough memory to complete the operation.");
    case 11:
      return QStringLiteral("The .EXE file is invalid\n(non-Win32 .EXE or error in .EXE image).");
    case 26: return QStringLiteral("A sharing violation occurred. ");
    case 27: return QStringLiteral("The filename association is\nincomplete or invalid.");
    case 28:
      return QStringLiteral(
          "The DDE transaction could not\nbe completed because the request timed out.");
    case 29: return QStringLiteral("The DDE transaction failed.");
    case 30:
      return QStringLiteral(
          "The DDE transaction could not\nbe completed because other DDE transactions\nwere "
          "being processed.");
    case 31:
      return QStringLiteral("There is no application associated\nwith the given filename extension.");
    case 32: return QStringLiteral("The specified dynamic-link library was not found.");
    default: return QStringLiteral("Unknown Error (%1) occurred.").arg(result);
  }
}

void CHyperLink::FitToText() {
  if (!m_bFitToText) return;
  const QFontMetrics fm(font());
  const QMargins m = contentsMargins();
  const int w = fm.horizontalAdvance(text()) + m.left() + m.right() + 2 * margin();
  const int h = fm.height() + m.top() + m.bottom() + 2 * margin();
  QRect r = geometry();
  const Qt::Alignment align = alignment();
  if (align & Qt::AlignVCenter)
    r = QRect(r.x(), r.center().y() - h / 2, r.width(), h);
  else
    r.setHeight(h);
  if (align & Qt::AlignHCenter)
    r = QRect(r.center().x() - w / 2, r.y(), w, r.height());
  else if (align & Qt::AlignRight)
    r.setLeft(r.right() + 1 - w);
  else
    r.setWidth(w);
  setGeometry(r);
}

void CHyperLink::UpdateLook() {
  QPalette p = palette();
  p.setColor(QPalette::WindowText, m_bHot ? m_crHot : m_bFollowed ? m_crFollowed : m_crLink);
  setPalette(p);
  m_bSettingFont = true;
  setFont(m_nUnderlineMode == 1 || (m_bHot && m_nUnderlineMode == -1) ? m_fontUnderlined
                                                                      : m_fontPlain);
  m_bSettingFont = false;
}

void CHyperLink::changeEvent(QEvent* e) {
  QLabel::changeEvent(e);
  // A font given from outside becomes the plain font.
  if (e->type() == QEvent::FontChange && !m_bSettingFont) {
    m_fontPlain = font();
    m_fontPlain.setUnderline(false);
    m_fontUnderlined = m_fontPlain;
    m_fontUnderlined.setUnderline(true);
  }
}

void CHyperLink::mouseMoveEvent(QMouseEvent* e) {
  QLabel::mouseMoveEvent(e);
  if (m_bHot) return;
  m_bHot = 1;
  UpdateLook();
  m_hoverTimer.start();
}

void CHyperLink::OnHoverTimer() {
  if (rect().contains(mapFromGlobal(QCursor::pos()))) return;
  m_bHot = 0;
  m_hoverTimer.stop();
  UpdateLook();
}

void CHyperLink::mouseReleaseEvent(QMouseEvent* e) {
  QLabel::mouseReleaseEvent(e);
  if (e->button() == Qt::LeftButton && rect().contains(e->position().toPoint())) Open();
}

void CHyperLink::Open() {
  m_bHot = 0;
  const int result = platform::ShellOpen(m_strTarget);
  if (result > 32) {
    m_bFollowed = 1;
    UpdateLook();
    return;
  }
  UpdateLook();
  QApplication::beep();
  platform::ShowMessageBox(this, QStringLiteral("Unable to open hyperlink:\n\n") + ErrorText(result),
                           platform::MB_ICONWARNING);
}
