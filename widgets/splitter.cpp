#include "widgets/splitter.h"

#include <QApplication>
#include <QKeyEvent>
#include <QMouseEvent>
#include <QRubberBand>

#include "platform/ui/profile.h"

namespace {
const char kPositionEntry[] = "VertSplitPos";
}

CSSplitter::CSSplitter(QWidget* parent) : QWidget(parent) { setMouseTracking(true); }

CSSplitter::~CSSplitter() {
  // The position is kept only while there is a bar: a hidden left pane keeps
  // the value stored before it was hidden.
  if (m_rcBar.Width() > 0 && m_rcBar.Height() > 0)
    platform::WriteProfileInt(ProfileSection(), QString::fromLatin1(kPositionEntry), m_rcLeft.right);
}

QString CSSplitter::ProfileSection() const { return QStringLiteral("splt\\init_v%1").arg(m_nId); }

bool CSSplitter::Create(unsigned style, QWidget* parent, QWidget* left, QWidget* right, int id,
                        const QRect& rect, int minLeft, int minRight) {
  m_nId = id;
  if (parent) setParent(parent);
  setGeometry(rect);
  m_pLeft = left;
  m_pRight = right;
  for (QWidget* pane : {left, right}) {
    if (!pane) continue;
    pane->setParent(this);
    pane->show();
  }
  m_nMinLeft = minLeft;
  m_nMinRight = minRight;
  if (style & SPS_VERTICAL) ConfigureVertical();
  if (parent) show();
  return true;
}

void CSSplitter::ConfigureVertical() {
  m_bVertical = 1;
  const int x = platform::GetProfileInt(ProfileSection(), QString::fromLatin1(kPositionEntry),
                                        2 * m_nMinLeft);
  m_rcLeft = {0, 0, x, height()};
  LayoutAt(x + m_nBarWidth / 2);
  m_nLeftWidth = m_rcLeft.Width();
}

void CSSplitter::LayoutAt(int x) {
  const int h = height();
  m_rcBar = {x - m_nBarWidth, 0, x + m_nBarWidth, h};
  m_rcLeft = {0, 0, x - m_nBarWidth / 2, h};
  m_rcRight = {m_rcLeft.right + m_nBarWidth, 0, width(), h};
  if (m_pLeft) m_pLeft->setGeometry(m_rcLeft.ToQRect());
  if (m_pRight) m_pRight->setGeometry(m_rcRight.ToQRect());
}

int CSSplitter::Clamp(int x) const {
  if (x > width() - m_nMinRight) x = width() - m_nMinRight;
  if (x < m_nMinLeft) x = m_nMinLeft;  // the left minimum wins
  return x;
}

bool CSSplitter::InBar(const QPoint& p) const {
  return p.x() >= m_rcBar.left && p.x() < m_rcBar.right && p.y() >= m_rcBar.top &&
         p.y() < m_rcBar.bottom;
}

void CSSplitter::resizeEvent(QResizeEvent* e) {
  QWidget::resizeEvent(e);
  if (m_bLeftHidden) {
    if (m_pRight) m_pRight->setGeometry(rect());
    return;
  }
  if (m_bVertical) LayoutAt(Clamp(m_nBarWidth / 2 + m_nLeftWidth));
}

void CSSplitter::ShowGhost(int x) {
  if (!m_ghost) m_ghost = new QRubberBand(QRubberBand::Line, this);
  m_ghost->setGeometry(x, 0, m_nBarWidth, height());
  m_ghost->raise();
  m_ghost->show();
}

void CSSplitter::HideGhost() {
  if (m_ghost) m_ghost->hide();
}

void CSSplitter::mousePressEvent(QMouseEvent* e) {
  const QPoint p = e->position().toPoint();
  if (e->button() == Qt::LeftButton && InBar(p)) {
    m_rcTracker = EdgeRect::From(rect());
    m_bCapture = 1;
    m_ptDragStart = m_ptDragLast = QPoint(p.x(), 0);
    ShowGhost(Clamp(p.x()));
    m_hPrevFocus = window()->focusWidget();
    setFocus(Qt::MouseFocusReason);
    setCursor(Qt::SplitHCursor);
    m_bDragging = 1;
    e->accept();
    return;
  }
  QWidget::mousePressEvent(e);
}

void CSSplitter::mouseMoveEvent(QMouseEvent* e) {
  const QPoint p = e->position().toPoint();
  if (m_bCapture) {
    const int x = Clamp(p.x());
    ShowGhost(x);
    m_ptDragLast = QPoint(x, 0);
    return;
  }
  if (InBar(p))
    setCursor(Qt::SplitHCursor);
  else
    unsetCursor();
  QWidget::mouseMoveEvent(e);
}

void CSSplitter::mouseReleaseEvent(QMouseEvent* e) {
  if (!(m_bCapture && m_bDragging)) {
    QWidget::mouseReleaseEvent(e);
    return;
  }
  const int x = Clamp(e->position().toPoint().x());
  HideGhost();
  m_bCapture = 0;
  LayoutAt(x);
  m_nLeftWidth = m_rcLeft.Width();
  m_bDragging = 0;
  unsetCursor();
}

void CSSplitter::keyPressEvent(QKeyEvent* e) {
  if (e->key() == Qt::Key_Escape && m_bCapture) {
    // Give up the drag: the panes keep their layout, the focus goes back.
    HideGhost();
    if (m_hPrevFocus) m_hPrevFocus->setFocus(Qt::OtherFocusReason);
    m_bCapture = 0;
    unsetCursor();
    e->accept();
    return;
  }
  QWidget::keyPressEvent(e);
}

void CSSplitter::HideLeftPane() {
  if (!m_bVertical || m_bLeftHidden || !m_pRight) return;
  m_bLeftHidden = 1;
  m_rcBar = {};
  if (m_pLeft) m_pLeft->hide();
  m_pRight->setGeometry(rect());
}

void CSSplitter::ShowLeftPane() {
  if (!m_bVertical) return;
  m_bLeftHidden = 0;
  m_nLeftWidth = m_rcLeft.Width();
  LayoutAt(m_rcLeft.right + m_nBarWidth / 2);
  if (m_pLeft) m_pLeft->show();
}
