#pragma once
// The application profile: the layout of the windows between program runs
// (column layout, window placements, splitter positions). It lives in the
// QSettings store of "Velmont Corporation" / "Korvane". Binary values keep
// their byte layout; a '\' in a section name nests groups, as a registry
// subkey would; the unnamed value of a section is stored as "Default".
#include <QByteArray>
#include <QString>
#include <optional>

namespace platform {

inline constexpr char kProfileOrganization[] = "Velmont Corporation";
inline constexpr char kProfileApplication[] = "Korvane";

int GetProfileInt(const QString& section, const QString& entry, int defaultValue);
bool WriteProfileInt(const QString& section, const QString& entry, int value);
// Nothing when the value is missing.
std::optional<QByteArray> GetProfileBinary(const QString& section, const QString& entry);
bool WriteProfileBinary(const QString& section, const QString& entry, const QByteArray& value);

}  // namespace platform
