#include "widgets/folder_dialog.h"

#include <QApplication>
#include <QDir>
#include <QFileDialog>
#include <QFileInfo>
#include <QUrl>

#include "platform/core/message_box.h"

CFolderDialog::CFolderDialog(const QString& title, const QString& initialFolder, QWidget* parent,
                             unsigned flags)
    : m_strTitle(title), m_szInitialFolder(initialFolder), m_nFlags(flags), m_pParent(parent) {}

bool CFolderDialog::SetRootFolder(const QString& path) {
  if (path.isEmpty()) {
    m_strRoot.clear();
    return true;
  }
  if (!QFileInfo(path).isDir()) return false;
  m_strRoot = path;
  return true;
}

int CFolderDialog::DoModal() {
  QWidget* owner = m_pParent ? m_pParent.data() : QApplication::activeWindow();
  QFileDialog browser(owner, m_strTitle);
  browser.setFileMode(QFileDialog::Directory);
  browser.setOption(QFileDialog::ShowDirsOnly);
  browser.setAcceptMode(QFileDialog::AcceptOpen);
  browser.setDirectory(m_strRoot.isEmpty() ? QDir::homePath() : m_strRoot);
  m_hBrowser = &browser;
  OnInitialized();
  QObject::connect(&browser, &QFileDialog::currentChanged,
                   [this](const QString& path) { OnSelChanged(path); });
  const int result = browser.exec();
  const QList<QUrl> chosen = browser.selectedUrls();
  m_hBrowser = nullptr;
  if (result != QDialog::Accepted) return platform::IDCANCEL;
  if (chosen.isEmpty() || !chosen.first().isLocalFile()) return -1;
  m_szSelectedPath = QDir::cleanPath(chosen.first().toLocalFile());
  return platform::IDOK;
}

void CFolderDialog::OnInitialized() {
  if (!m_szInitialFolder.isEmpty() && m_hBrowser) m_hBrowser->setDirectory(m_szInitialFolder);
}

void CFolderDialog::OnSelChanged(const QString&) {}
