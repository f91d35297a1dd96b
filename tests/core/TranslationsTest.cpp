// Qt's own dialogs speak the screen's language once the program has started.
#include "app/Translations.h"

#include <QApplication>
#include <QFile>
#include <QFileDialog>
#include <QLabel>
#include <QLibraryInfo>
#include <QMessageBox>
#include <QPushButton>
#include <gtest/gtest.h>

using namespace kestrovan;

TEST(QtTranslations, QtsOwnDialogsAreJapaneseAfterStartUp) {
  const QString folder = QLibraryInfo::path(QLibraryInfo::TranslationsPath);
  if (!QFile::exists(folder + "/qtbase_ja.qm"))
    GTEST_SKIP() << "qtbase_ja.qm is not in " << folder.toStdString()
                 << ": Qt's translations (Debian's qt6-translations-l10n, see the README) are not installed";
  ASSERT_TRUE(app::installQtTranslations(*QCoreApplication::instance()));

  QMessageBox box(QMessageBox::Question, "確認", "?",
                  QMessageBox::Yes | QMessageBox::No | QMessageBox::Cancel);
  EXPECT_EQ(box.button(QMessageBox::Cancel)->text(), "キャンセル");
  EXPECT_TRUE(box.button(QMessageBox::Yes)->text().startsWith("はい"))
      << box.button(QMessageBox::Yes)->text().toStdString();

  QFileDialog open(nullptr, "開く");
  open.setOption(QFileDialog::DontUseNativeDialog);
  auto* lookIn = open.findChild<QLabel*>("lookInLabel");
  ASSERT_NE(lookIn, nullptr);
  EXPECT_NE(lookIn->text(), "Look in:");
  EXPECT_FALSE(lookIn->text().contains("Look"));
}
