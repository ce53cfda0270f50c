#pragma once
// The grip in the lower right corner of a resizable dialog: a triangle that
// sizes the window when dragged, hidden while the window is maximized.
#include <QSizeGrip>

class CSizeGripExt : public QSizeGrip {
  Q_OBJECT
 public:
  explicit CSizeGripExt(QWidget* parent);

  bool Create(QWidget* parent, bool visible, bool triangular);
  void SetVisible(bool visible) { this->visible = visible; }
  // Puts the grip into the parent's lower corner (lower left in a right-to-left
  // layout), shown or hidden as visible says.
  void Reposition(QWidget* parent);

  int visible = 0;
  int triangular = 0;
  int cx = 0;
  int cy = 0;

 protected:
  void changeEvent(QEvent* e) override;

 private:
  void ReadMetrics();
  void ApplyRegion();
};
