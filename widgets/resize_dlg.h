#pragma once
// The base of the resizable dialogs: registered controls follow size changes
// by a rule per axis, a size grip sits in the corner, and the placement can be
// saved in the profile when the dialog closes.
#include <QDialog>
#include <QRect>
#include <QString>
#include <cstdint>
#include <vector>

#include "platform/ui/dialog_template.h"
#include "widgets/placement_store.h"
#include "widgets/size_grip.h"

// How a control follows a change of the dialog's width (height): the near edge
// is left (top), the far edge right (bottom).
enum : unsigned {
  RSZ_NONE = 0,     // unchanged
  RSZ_STRETCH = 1,  // the far edge moves with the dialog's edge
  RSZ_MOVE = 2,     // both edges move: constant size, constant distance to the far side
  RSZ_CENTER = 3,   // constant size, centre at a constant fraction of the width
  RSZ_SCALE = 4,    // both edges scale with the size, relative to the initial size
  RSZ_RATIO = 5,    // near edge moves by ratio x growth, size grows by ratio2 x growth
};
enum : unsigned { RSZ_CLIPERASE = 0x1, RSZ_REPAINT = 0x2 };

// The dialog edges a size change moved.
enum : unsigned { EDGE_LEFT = 0x1, EDGE_RIGHT = 0x2, EDGE_TOP = 0x4, EDGE_BOTTOM = 0x8 };

// A rectangle with exclusive right and bottom edges.
struct EdgeRect {
  int left = 0, top = 0, right = 0, bottom = 0;
  int Width() const { return right - left; }
  int Height() const { return bottom - top; }
  bool operator==(const EdgeRect&) const = default;
  static EdgeRect From(const QRect& r) { return {r.x(), r.y(), r.x() + r.width(), r.y() + r.height()}; }
  QRect ToQRect() const { return {left, top, right - left, bottom - top}; }
};

struct ResizeCtrlInfo {
  std::uint32_t id = 0;
  std::uint32_t hLeft : 4 = 0;
  std::uint32_t hRight : 4 = 0;
  std::uint32_t vTop : 4 = 0;
  std::uint32_t vBottom : 4 = 0;
  std::uint32_t clipErase : 1 = 0;
  std::uint32_t repaint : 1 = 0;
  EdgeRect rect;  // dialog client coordinates
  double hRatio = -1, hRatio2 = -1, vRatio = -1, vRatio2 = -1;
};

class CResizeDlg : public QDialog {
  Q_OBJECT
 public:
  // Builds the dialog from its template (none: the derived dialog builds it).
  CResizeDlg(const platform::DialogTemplate* tmpl, QWidget* parent);
  ~CResizeDlg() override;

  // Registers a control, or re-registers it in place.
  void AddControl(unsigned id, unsigned hLeft, unsigned hRight, unsigned vTop, unsigned vBottom,
                  unsigned options = 0, double hRatio = -1.0, double hRatio2 = -1.0,
                  double vRatio = -1.0, double vRatio2 = -1.0);
  void HideSizeGrip();

  void setVisible(bool visible) override;
  void done(int result) override;

  const std::vector<ResizeCtrlInfo>& Controls() const { return controls; }
  const CSizeGripExt* Grip() const { return grip; }

  CPlacementStore placement;
  QString placementName;  // when set, the placement is saved under it at close

 protected:
  // Runs once, just before the dialog is first shown. Derived dialogs call the
  // base first, then register their controls, then restore their placement.
  virtual bool OnInitDialog();
  // Runs once, when the dialog closes.
  virtual void OnDestroy();

  void resizeEvent(QResizeEvent* e) override;
  void changeEvent(QEvent* e) override;

  // The layout of one size change in which the given edges moved.
  void LayoutControls(unsigned movedEdges);
  EdgeRect ClientOnScreen() const;

  std::vector<ResizeCtrlInfo> controls;
  EdgeRect prevClient;
  EdgeRect initClient;
  CSizeGripExt* grip = nullptr;

 private:
  void LayoutControl(ResizeCtrlInfo& info, unsigned movedEdges, const EdgeRect& newClient);

  bool m_bInitialised = false;
  bool m_bDestroyed = false;
};
