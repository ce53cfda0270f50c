#include "widgets/placement_store.h"

#include <QGuiApplication>
#include <QScreen>
#include <QWidget>
#include <QtEndian>

#include "platform/ui/profile.h"

QByteArray WindowPlacement::ToBytes() const {
  const std::uint32_t fields[11] = {
      length,
      flags,
      showCmd,
      static_cast<std::uint32_t>(ptMinPosition[0]),
      static_cast<std::uint32_t>(ptMinPosition[1]),
      static_cast<std::uint32_t>(ptMaxPosition[0]),
      static_cast<std::uint32_t>(ptMaxPosition[1]),
      static_cast<std::uint32_t>(rcNormalPosition[0]),
      static_cast<std::uint32_t>(rcNormalPosition[1]),
      static_cast<std::uint32_t>(rcNormalPosition[2]),
      static_cast<std::uint32_t>(rcNormalPosition[3]),
  };
  QByteArray bytes(kSize, '\0');
  for (int i = 0; i < 11; ++i) qToLittleEndian(fields[i], bytes.data() + 4 * i);
  return bytes;
}

std::optional<WindowPlacement> WindowPlacement::FromBytes(const QByteArray& bytes) {
  if (bytes.size() != kSize) return std::nullopt;
  auto field = [&](int i) { return qFromLittleEndian<std::uint32_t>(bytes.constData() + 4 * i); };
  auto signedField = [&](int i) { return static_cast<std::int32_t>(field(i)); };
  WindowPlacement p;
  p.length = field(0);
  p.flags = field(1);
  p.showCmd = field(2);
  p.ptMinPosition[0] = signedField(3);
  p.ptMinPosition[1] = signedField(4);
  p.ptMaxPosition[0] = signedField(5);
  p.ptMaxPosition[1] = signedField(6);
  for (int i = 0; i < 4; ++i) p.rcNormalPosition[i] = signedField(7 + i);
  return p;
}

bool GetWindowPlacement(const QWidget* window, WindowPlacement* p) {
  if (!window) return false;
  const Qt::WindowStates state = window->windowState();
  const bool minimized = state & Qt::WindowMinimized;
  const bool maximized = state & Qt::WindowMaximized;
  *p = WindowPlacement{};
  p->length = WindowPlacement::kSize;
  p->flags = minimized && maximized ? WPF_RESTORETOMAXIMIZED : 0;
  p->showCmd = minimized ? SW_SHOWMINIMIZED : maximized ? SW_SHOWMAXIMIZED : SW_SHOWNORMAL;
  p->ptMinPosition[0] = p->ptMinPosition[1] = -1;
  p->ptMaxPosition[0] = p->ptMaxPosition[1] = -1;
  QRect normal = window->geometry();
  if ((minimized || maximized || (state & Qt::WindowFullScreen)) && window->normalGeometry().isValid())
    normal = window->normalGeometry();
  p->rcNormalPosition[0] = normal.x();
  p->rcNormalPosition[1] = normal.y();
  p->rcNormalPosition[2] = normal.x() + normal.width();
  p->rcNormalPosition[3] = normal.y() + normal.height();
  return true;
}

namespace {

// A rectangle on no screen (a monitor that has gone) is brought back onto the
// primary one.
QRect OntoAScreen(QRect r) {
  for (QScreen* screen : QGuiApplication::screens())
    if (screen->availableGeometry().intersects(r)) return r;
  if (QScreen* primary = QGuiApplication::primaryScreen()) r.moveCenter(primary->availableGeometry().center());
  return r;
}

}  // namespace

void SetWindowPlacement(QWidget* window, const WindowPlacement& p) {
  if (!window) return;
  const auto* rc = p.rcNormalPosition;
  QRect normal(rc[0], rc[1], rc[2] - rc[0], rc[3] - rc[1]);
  if (normal.width() > 0 && normal.height() > 0) {
    if (window->windowState() & (Qt::WindowMinimized | Qt::WindowMaximized | Qt::WindowFullScreen))
      window->setWindowState(Qt::WindowNoState);
    window->setGeometry(OntoAScreen(normal));
  }
  Qt::WindowStates state = Qt::WindowNoState;
  if (p.showCmd == SW_SHOWMINIMIZED)
    state = Qt::WindowMinimized |
            ((p.flags & WPF_RESTORETOMAXIMIZED) ? Qt::WindowMaximized : Qt::WindowNoState);
  else if (p.showCmd == SW_SHOWMAXIMIZED)
    state = Qt::WindowMaximized;
  window->setWindowState(state);
}

bool CPlacementStore::Load(QWidget* window, const QString& name, const QString& section) {
  if (firstLoad) {
    firstLoad = 0;
    if (!GetWindowPlacement(window, &defaultPlacement)) return false;
    QScreen* screen = QGuiApplication::primaryScreen();
    const int sw = screen ? screen->geometry().width() : 0;
    const int sh = screen ? screen->geometry().height() : 0;
    auto* rc = defaultPlacement.rcNormalPosition;
    const int w = rc[2] - rc[0], h = rc[3] - rc[1];
    rc[0] = (sw - w) / 2;
    rc[2] = (w + sw) / 2;
    rc[1] = (sh - h) / 2;
    rc[3] = (h + sh) / 2;
    showMode = platform::GetProfileInt(section, QString(), 0);
  }
  // A value of the wrong size is no placement at all.
  std::optional<WindowPlacement> stored;
  if (auto bytes = platform::GetProfileBinary(section, name)) stored = WindowPlacement::FromBytes(*bytes);
  if (!stored) {
    current = defaultPlacement;
    return false;
  }
  current = *stored;
  switch (showMode) {
    case 1: break;
    case 2: current.showCmd = SW_SHOWNORMAL; break;
    case 3: current.showCmd = SW_SHOWMAXIMIZED; break;
    case 4: current.showCmd = SW_SHOWMINIMIZED; break;
    default:
      // A window saved minimized comes back as it was before it was minimized:
      // maximized with the restore-to-maximized flag, normal otherwise.
      if (current.showCmd == SW_SHOWMINIMIZED)
        current.showCmd = (current.flags & WPF_RESTORETOMAXIMIZED) ? SW_SHOWMAXIMIZED : SW_SHOWNORMAL;
  }
  SetWindowPlacement(window, current);
  return true;
}

bool CPlacementStore::Save(QWidget* window, const QString& name, const QString& section) {
  if (!GetWindowPlacement(window, &current)) return false;
  if (!platform::WriteProfileBinary(section, name, current.ToBytes())) return false;
  return platform::WriteProfileInt(section, QString(), showMode);
}

void CPlacementStore::Apply(QWidget* window) { SetWindowPlacement(window, current); }
