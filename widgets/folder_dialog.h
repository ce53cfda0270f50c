#pragma once
// Asks the user for a folder: the desktop's folder chooser, opened at a
// given folder.
#include <QPointer>
#include <QString>

class QFileDialog;
class QWidget;

enum : unsigned {
  BIF_RETURNONLYFSDIRS = 0x1,
  BIF_STATUSTEXT = 0x4,
  BIF_EDITBOX = 0x10,
  BIF_NEWDIALOGSTYLE = 0x40,
};

class CFolderDialog {
 public:
  // initialFolder: the folder shown when the chooser opens (empty: none).
  CFolderDialog(const QString& title, const QString& initialFolder, QWidget* parent,
                unsigned flags = BIF_RETURNONLYFSDIRS | BIF_EDITBOX | BIF_NEWDIALOGSTYLE);
  virtual ~CFolderDialog() = default;

  // The folder the chooser starts in when there is no initial folder; an
  // empty path resets it to the user's home folder. A path that names no
  // folder leaves the previous root and returns false.
  bool SetRootFolder(const QString& path);
  // IDOK (1) with a chosen folder, IDCANCEL (2) when cancelled, -1 when the
  // choice is not a local folder.
  virtual int DoModal();
  // The chosen folder, without a trailing '/' (except the root "/").
  QString GetSelectedPath() const { return m_szSelectedPath; }

 protected:
  // Opens the chooser at the initial folder, if there is one.
  virtual void OnInitialized();
  virtual void OnSelChanged(const QString& path);

  QString m_strTitle;
  QString m_szInitialFolder;
  QString m_szSelectedPath;
  QString m_strRoot;
  unsigned m_nFlags;
  QPointer<QWidget> m_pParent;
  QFileDialog* m_hBrowser = nullptr;  // valid only while the chooser runs
};
