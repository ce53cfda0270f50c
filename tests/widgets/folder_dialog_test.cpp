#include <gtest/gtest.h>

#include <QApplication>
#include <QDir>
#include <QFileDialog>
#include <QTimer>
#include <functional>

#include "platform/core/message_box.h"
#include "tests/support/temp_dir.h"
#include "widgets/folder_dialog.h"

namespace {

// Runs act on the chooser once it is open.
void WhenOpen(std::function<void(QFileDialog*)> act) {
  QTimer::singleShot(5, [act] {
    if (auto* browser = qobject_cast<QFileDialog*>(QApplication::activeModalWidget()))
      act(browser);
    else
      WhenOpen(act);
  });
}

}  // namespace

TEST(FolderDialog, OpensAtTheInitialFolderAndReturnsTheChoice) {
  TempDir dir;
  QDir(QString::fromStdString(dir.path())).mkpath("Music/Converted");
  const QString initial = QString::fromStdString(dir.path()) + "/Music";
  const QString chosen = initial + "/Converted";
  QString seenTitle, seenDir;
  WhenOpen([&](QFileDialog* browser) {
    seenTitle = browser->windowTitle();
    seenDir = browser->directory().absolutePath();
    browser->setDirectory(chosen);
    static_cast<QDialog*>(browser)->accept();
  });
  CFolderDialog dlg("Specify the Output Folder", initial, nullptr);
  EXPECT_EQ(dlg.DoModal(), platform::IDOK);
  EXPECT_EQ(seenTitle, "Specify the Output Folder");
  EXPECT_EQ(seenDir, initial);
  EXPECT_EQ(dlg.GetSelectedPath(), chosen);
}

TEST(FolderDialog, CancelLeavesNothingChosen) {
  TempDir dir;
  WhenOpen([](QFileDialog* browser) { browser->reject(); });
  CFolderDialog dlg("Add a Folder including sub-folders", {}, nullptr);
  ASSERT_TRUE(dlg.SetRootFolder(QString::fromStdString(dir.path())));
  EXPECT_EQ(dlg.DoModal(), platform::IDCANCEL);
  EXPECT_TRUE(dlg.GetSelectedPath().isEmpty());
}

TEST(FolderDialog, RootFolderStartsTheChooserWhenThereIsNoInitialFolder) {
  TempDir dir;
  const QString root = QString::fromStdString(dir.path());
  CFolderDialog dlg("Add a Folder excluding sub-folders", {}, nullptr);
  ASSERT_TRUE(dlg.SetRootFolder(root));
  EXPECT_FALSE(dlg.SetRootFolder(root + "/missing"));  // the previous root stays
  QString seenDir;
  WhenOpen([&](QFileDialog* browser) {
    seenDir = browser->directory().absolutePath();
    static_cast<QDialog*>(browser)->accept();
  });
  EXPECT_EQ(dlg.DoModal(), platform::IDOK);
  EXPECT_EQ(seenDir, root);
  EXPECT_EQ(dlg.GetSelectedPath(), root);

  ASSERT_TRUE(dlg.SetRootFolder({}));  // back to the home folder
  WhenOpen([&](QFileDialog* browser) {
    seenDir = browser->directory().absolutePath();
    browser->reject();
  });
  dlg.DoModal();
  EXPECT_EQ(seenDir, QDir::homePath());
}
