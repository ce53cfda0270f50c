#include "platform/ui/shell.h"

#include <QDesktopServices>
#include <QDir>
#include <QFileInfo>
#include <QRegularExpression>
#include <QUrl>

namespace platform {

namespace {

ShellOpenHook g_openHook;

bool HasScheme(const QString& target) {
  // A drive-less path never has a scheme; "x:" with one letter is not taken for one.
  static const QRegularExpression scheme(QStringLiteral("^[A-Za-z][A-Za-z0-9+.-]+:"));
  return !target.startsWith(QLatin1Char('/')) && scheme.match(target).hasMatch();
}

}  // namespace

int ShellOpen(const QString& target) {
  if (g_openHook) return g_openHook(target);
  QUrl url;
  if (HasScheme(target)) {
    url = QUrl(target);
  } else {
    QFileInfo info(target);
    if (!info.exists()) return QFileInfo(info.absolutePath()).isDir() ? SE_ERR_FNF : SE_ERR_PNF;
    url = QUrl::fromLocalFile(info.absoluteFilePath());
  }
  return QDesktopServices::openUrl(url) ? SE_OK : SE_ERR_NOASSOC;
}

void SetShellOpenHook(ShellOpenHook hook) { g_openHook = std::move(hook); }

}  // namespace platform
