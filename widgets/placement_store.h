#pragma once
// A window's placement (show state and restored rectangle) saved in the
// application profile under a name, as the 44-byte placement record that the
// profile has always held.
#include <QByteArray>
#include <QString>
#include <cstdint>
#include <optional>

class QWidget;

inline constexpr std::uint32_t SW_SHOWNORMAL = 1;
inline constexpr std::uint32_t SW_SHOWMINIMIZED = 2;
inline constexpr std::uint32_t SW_SHOWMAXIMIZED = 3;
inline constexpr std::uint32_t WPF_RESTORETOMAXIMIZED = 2;

struct WindowPlacement {
  std::uint32_t length = 0;
  std::uint32_t flags = 0;
  std::uint32_t showCmd = 0;
  std::int32_t ptMinPosition[2] = {0, 0};
  std::int32_t ptMaxPosition[2] = {0, 0};
  std::int32_t rcNormalPosition[4] = {0, 0, 0, 0};  // left, top, right, bottom

  static constexpr int kSize = 44;
  // Little-endian, field by field.
  QByteArray ToBytes() const;
  // Nothing unless exactly 44 bytes.
  static std::optional<WindowPlacement> FromBytes(const QByteArray& bytes);
  bool operator==(const WindowPlacement&) const = default;
};

// The window's show state and its normal (restored) rectangle, the widget's
// geometry without the frame.
bool GetWindowPlacement(const QWidget* window, WindowPlacement* placement);
// Restores the rectangle, moved onto a screen if it lies on none, then the
// show state (applied when a hidden window is shown).
void SetWindowPlacement(QWidget* window, const WindowPlacement& placement);

class CPlacementStore {
 public:
  // Restores the placement stored under (section, name); false when none was
  // applied (nothing stored, or the window's placement could not be read).
  bool Load(QWidget* window, const QString& name, const QString& section);
  // Stores the window's placement and the show override.
  bool Save(QWidget* window, const QString& name, const QString& section);
  // Applies current: the fallback when a Load failed.
  void Apply(QWidget* window);

  int showMode = 0;
  WindowPlacement current;
  WindowPlacement defaultPlacement;
  int firstLoad = 1;
};
