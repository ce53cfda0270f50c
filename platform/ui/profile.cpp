#include "platform/ui/profile.h"

#include <QSettings>

namespace platform {

namespace {

QString Key(QString section, const QString& entry) {
  section.replace(QLatin1Char('\\'), QLatin1Char('/'));
  return section + QLatin1Char('/') + (entry.isEmpty() ? QStringLiteral("Default") : entry);
}

// QSettings objects are cheap and share one cached file; a fresh one per call
// always follows the current configuration folder.
class Store : public QSettings {
 public:
  Store()
      : QSettings(QString::fromLatin1(kProfileOrganization),
                  QString::fromLatin1(kProfileApplication)) {}
  bool Flush() {
    sync();
    return status() == QSettings::NoError;
  }
};

}  // namespace

int GetProfileInt(const QString& section, const QString& entry, int defaultValue) {
  bool ok = false;
  int value = Store().value(Key(section, entry)).toInt(&ok);
  return ok ? value : defaultValue;
}

bool WriteProfileInt(const QString& section, const QString& entry, int value) {
  Store store;
  store.setValue(Key(section, entry), value);
  return store.Flush();
}

std::optional<QByteArray> GetProfileBinary(const QString& section, const QString& entry) {
  QVariant value = Store().value(Key(section, entry));
  if (!value.isValid()) return std::nullopt;
  return value.toByteArray();
}

bool WriteProfileBinary(const QString& section, const QString& entry, const QByteArray& value) {
  Store store;
  store.setValue(Key(section, entry), value);
  return store.Flush();
}

}  // namespace platform
