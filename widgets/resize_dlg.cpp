#include "widgets/resize_dlg.h"

#include <QEvent>
#include <QResizeEvent>

#include "platform/ui/ui_message_box.h"

namespace {

inline constexpr char kPositionSection[] = "Position";

bool IsReferenceMode(unsigned mode) { return mode == RSZ_SCALE || mode == RSZ_RATIO; }

// The rule of one axis. near and far hold the stored edges on entry and the
// new edges on return; actualNear and actualFar are where the control is now.
// Returns true when the rule is a reference rule (the stored edges stay those
// of registration time).
bool ApplyAxisRule(unsigned mode, bool axisHasReference, int& nearEdge, int& farEdge,
                   int actualNear, int actualFar, int delta, int growth, int newSize,
                   int initSize, double ratio, double ratio2) {
  switch (mode) {
    case RSZ_STRETCH:
      farEdge += delta;
      return false;
    case RSZ_MOVE:
      nearEdge += delta;
      farEdge += delta;
      return false;
    case RSZ_CENTER: {
      const int size = farEdge - nearEdge;
      nearEdge = static_cast<int>(newSize * ratio - size * 0.5);
      farEdge = nearEdge + size;
      return false;
    }
    case RSZ_SCALE:
      if (initSize > 0) {
        nearEdge = static_cast<int>(nearEdge * static_cast<double>(newSize) / initSize);
        farEdge = static_cast<int>(farEdge * static_cast<double>(newSize) / initSize);
      }
      return true;
    case RSZ_RATIO: {
      const int storedNear = nearEdge, storedFar = farEdge;
      nearEdge = storedNear + static_cast<int>(growth * ratio);
      farEdge = static_cast<int>(storedFar + growth * ratio + growth * ratio2);
      return true;
    }
    default:
      if (!axisHasReference) return false;
      nearEdge = actualNear;
      farEdge = actualFar;
      return true;
  }
}

unsigned PickMode(unsigned movedEdges, unsigned nearEdgeBit, unsigned nearMode,
                  unsigned farEdgeBit, unsigned farMode) {
  if ((movedEdges & nearEdgeBit) && nearMode) return nearMode;
  if ((movedEdges & farEdgeBit) && farMode) return farMode;
  return RSZ_NONE;
}

}  // namespace

CResizeDlg::CResizeDlg(const platform::DialogTemplate* tmpl, QWidget* parent) : QDialog(parent) {
  setWindowFlags(Qt::Window | Qt::WindowTitleHint | Qt::WindowSystemMenuHint |
                 Qt::WindowMinMaxButtonsHint | Qt::WindowCloseButtonHint);
  if (tmpl) platform::BuildDialog(this, *tmpl);
  setMinimumSize(0, 0);
  setSizeGripEnabled(false);  // the grip is our own
}

CResizeDlg::~CResizeDlg() = default;

EdgeRect CResizeDlg::ClientOnScreen() const {
  return EdgeRect::From(QRect(mapToGlobal(QPoint(0, 0)), size()));
}

bool CResizeDlg::OnInitDialog() {
  initClient = prevClient = ClientOnScreen();
  grip = new CSizeGripExt(this);
  grip->Create(this, true, true);
  return true;
}

void CResizeDlg::OnDestroy() {
  if (placementName.isEmpty()) return;
  if (!placement.Save(this, placementName, QString::fromLatin1(kPositionSection)))
    platform::ShowMessageBox(this, QStringLiteral("Fail to Save!"), platform::MB_OK);
}

void CResizeDlg::setVisible(bool visible) {
  if (visible && !m_bInitialised) {
    m_bInitialised = true;
    OnInitDialog();
  }
  QDialog::setVisible(visible);
}

void CResizeDlg::done(int result) {
  if (!m_bDestroyed) {
    m_bDestroyed = true;
    OnDestroy();
  }
  QDialog::done(result);
}

void CResizeDlg::AddControl(unsigned id, unsigned hLeft, unsigned hRight, unsigned vTop,
                            unsigned vBottom, unsigned options, double hRatio, double hRatio2,
                            double vRatio, double vRatio2) {
  ResizeCtrlInfo info;
  info.id = id;
  info.hLeft = hLeft & 0xF;
  info.hRight = hRight & 0xF;
  info.vTop = vTop & 0xF;
  info.vBottom = vBottom & 0xF;
  info.clipErase = (options & RSZ_CLIPERASE) ? 1 : 0;
  info.repaint = (options & RSZ_REPAINT) ? 1 : 0;
  info.hRatio = hRatio;
  info.hRatio2 = hRatio2;
  info.vRatio = vRatio;
  info.vRatio2 = vRatio2;
  if (QWidget* control = platform::FindControl(this, static_cast<int>(id)))
    info.rect = EdgeRect::From(control->geometry());
  const int clientW = width(), clientH = height();
  auto centredOrScaled = [](unsigned a, unsigned b) {
    return a == RSZ_CENTER || a == RSZ_SCALE || b == RSZ_CENTER || b == RSZ_SCALE;
  };
  if (centredOrScaled(info.hLeft, info.hRight) && clientW > 0)
    info.hRatio = (info.rect.left + info.rect.right) * 0.5 / clientW;
  if (centredOrScaled(info.vTop, info.vBottom) && clientH > 0)
    info.vRatio = (info.rect.top + info.rect.bottom) * 0.5 / clientH;

  for (auto& existing : controls) {
    if (existing.id == id) {
      existing = info;
      return;
    }
  }
  controls.push_back(info);
}

void CResizeDlg::HideSizeGrip() {
  if (!grip) return;
  grip->SetVisible(false);
  grip->Reposition(this);
}

void CResizeDlg::resizeEvent(QResizeEvent* e) {
  QDialog::resizeEvent(e);
  if (!m_bInitialised) return;  // nothing is registered before the first show
  if (!controls.empty()) {
    if (isMinimized()) return;
    // Qt does not tell which edge the user dragged; a size change moves the
    // right and bottom edges, as a restore or a maximize does.
    LayoutControls(EDGE_RIGHT | EDGE_BOTTOM);
  }
  if (grip) {
    grip->SetVisible(!isMaximized());
    grip->Reposition(this);
  }
}

void CResizeDlg::changeEvent(QEvent* e) {
  QDialog::changeEvent(e);
  // The grip follows the window state by its own rules; ours are the ones above.
  if (e->type() == QEvent::WindowStateChange && grip) grip->Reposition(this);
}

void CResizeDlg::LayoutControls(unsigned movedEdges) {
  const EdgeRect newClient = ClientOnScreen();
  setUpdatesEnabled(false);  // all controls move together, painted once
  for (auto& info : controls) LayoutControl(info, movedEdges, newClient);
  setUpdatesEnabled(true);
  prevClient = newClient;
}

void CResizeDlg::LayoutControl(ResizeCtrlInfo& info, unsigned movedEdges,
                               const EdgeRect& newClient) {
  QWidget* control = platform::FindControl(this, static_cast<int>(info.id));
  if (!control) return;
  EdgeRect r = info.rect;
  const EdgeRect actual = EdgeRect::From(control->geometry());

  const unsigned hMode = PickMode(movedEdges, EDGE_LEFT, info.hLeft, EDGE_RIGHT, info.hRight);
  const bool hReference = ApplyAxisRule(
      hMode, IsReferenceMode(info.hLeft) || IsReferenceMode(info.hRight), r.left, r.right,
      actual.left, actual.right, newClient.Width() - prevClient.Width(),
      newClient.Width() - initClient.Width(), newClient.Width(), initClient.Width(), info.hRatio,
      info.hRatio2);
  const unsigned vMode = PickMode(movedEdges, EDGE_TOP, info.vTop, EDGE_BOTTOM, info.vBottom);
  const bool vReference = ApplyAxisRule(
      vMode, IsReferenceMode(info.vTop) || IsReferenceMode(info.vBottom), r.top, r.bottom,
      actual.top, actual.bottom, newClient.Height() - prevClient.Height(),
      newClient.Height() - initClient.Height(), newClient.Height(), initClient.Height(),
      info.vRatio, info.vRatio2);

  // Compare with what the rules started from: the stored edges of a tracking
  // axis, the control's actual edges of a reference axis.
  EdgeRect compare = info.rect;
  if (hReference) compare.left = actual.left, compare.right = actual.right;
  if (vReference) compare.top = actual.top, compare.bottom = actual.bottom;
  if (r == compare) return;

  if (info.repaint) control->update();
  control->setGeometry(r.ToQRect());
  if (info.repaint) update(actual.ToQRect());

  if (!hReference) info.rect.left = r.left, info.rect.right = r.right;
  if (!vReference) info.rect.top = r.top, info.rect.bottom = r.bottom;
}
