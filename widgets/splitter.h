#pragma once
// Two panes side by side with a bar between them that the user drags. The
// bar's position is kept in the profile between program runs.
#include <QPoint>
#include <QPointer>
#include <QWidget>

#include "widgets/resize_dlg.h"

class QRubberBand;

inline constexpr unsigned SPS_VERTICAL = 0x1;  // style bit: panes left and right

class CSSplitter : public QWidget {
  Q_OBJECT
 public:
  explicit CSSplitter(QWidget* parent = nullptr);
  ~CSSplitter() override;

  // Takes the two panes as its children (their signals still reach whoever
  // listens) and, with SPS_VERTICAL, places the bar where it was last time.
  bool Create(unsigned style, QWidget* parent, QWidget* left, QWidget* right, int id,
              const QRect& rect, int minLeft, int minRight);

  void HideLeftPane();
  void ShowLeftPane();
  bool IsLeftPaneVisible() const { return !m_bLeftHidden; }

  // The profile section of the bar position ("splt\init_v" and the id).
  QString ProfileSection() const;

  QPointer<QWidget> m_pLeft, m_pRight;
  int m_nMinLeft = 0, m_nMinRight = 0;
  int m_nBarWidth = 3;
  int m_nId = 0;
  int m_nLeftWidth = 0;
  EdgeRect m_rcLeft, m_rcRight, m_rcBar, m_rcTracker;
  int m_bVertical = 0;
  int m_bLeftHidden = 0;
  int m_bCapture = 0, m_bDragging = 0;
  QPoint m_ptDragStart, m_ptDragLast;
  QPointer<QWidget> m_hPrevFocus;

 protected:
  void resizeEvent(QResizeEvent* e) override;
  void mousePressEvent(QMouseEvent* e) override;
  void mouseMoveEvent(QMouseEvent* e) override;
  void mouseReleaseEvent(QMouseEvent* e) override;
  void keyPressEvent(QKeyEvent* e) override;

 private:
  void ConfigureVertical();
  void LayoutAt(int x);
  int Clamp(int x) const;
  bool InBar(const QPoint& p) const;
  void ShowGhost(int x);
  void HideGhost();

  QRubberBand* m_ghost = nullptr;
};
