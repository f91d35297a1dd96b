#include "editor/ui/EditorSeams.h"

#include "editor/ui/OpenTextDialog.h"

#include <QFileDialog>
#include <QFontDialog>
#include <QLocale>

namespace kestrovan::editor {

std::optional<std::string> QtEditorChoosers::openFile(QWidget* parent, const std::string& folder,
                                                      const std::string& mask) {
  return chooseTextFile(parent, folder, mask, dialogs_);
}

std::optional<std::string> QtEditorChoosers::saveFile(QWidget* parent, const std::string& folder) {
  QFileDialog dialog(parent);
  setUpSaveDialog(dialog, folder);
  if (dialog.exec() != QDialog::Accepted || dialog.selectedFiles().isEmpty()) return std::nullopt;
  return dialog.selectedFiles().first().toStdString();
}

std::optional<QFont> QtEditorChoosers::chooseFont(QWidget* parent, const QFont& current) {
  bool ok = false;
  const QFont font = QFontDialog::getFont(&ok, current, parent, "フォント");
  if (!ok) return std::nullopt;
  return font;
}

QDateTime QtEditorChoosers::now() { return QDateTime::currentDateTime(); }

void setUpSaveDialog(QFileDialog& dialog, const std::string& folder) {
  dialog.setObjectName("SaveDialog1");
  dialog.setOption(QFileDialog::DontUseNativeDialog);
  dialog.setAcceptMode(QFileDialog::AcceptSave);
  dialog.setFileMode(QFileDialog::AnyFile);
  dialog.setDirectory(QString::fromStdString(folder));
  // Names on this system keep their letter case: the lower-case forms are
  // listed as well.
  dialog.setNameFilters({"ＮＣ文書 (*.NC *.nc)", "テキスト (*.TXT *.txt)", "すべて表示 (*)"});
  dialog.setDefaultSuffix("NC");
  dialog.setOption(QFileDialog::DontConfirmOverwrite, false);
}

QString dateTimeStamp(const QDateTime& when) {
  const QLocale locale = QLocale::system();
  QString timeFormat = locale.timeFormat(QLocale::LongFormat);
  timeFormat.remove('t');
  timeFormat = timeFormat.trimmed();
  return "(" + locale.toString(when.time(), timeFormat) + " " +
         locale.toString(when.date(), QLocale::ShortFormat) + ")";
}

} // namespace kestrovan::editor
