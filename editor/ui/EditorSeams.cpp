#include "editor/ui/EditorSeams.h"

#include "editor/ui/OpenTextDialog.h"
#include "host/FileChooser.h"

#include <QFontDialog>
#include <QLocale>

namespace kestrovan::editor {

std::optional<std::string> QtEditorChoosers::openFile(QWidget* parent, const std::string& folder,
                                                      const std::string& mask) {
  return chooseTextFile(parent, folder, mask, dialogs_);
}

std::optional<std::string> QtEditorChoosers::saveFile(QWidget* parent, const std::string& folder) {
  return chooseSavePath(parent, folder, dialogs_);
}

std::optional<QFont> QtEditorChoosers::chooseFont(QWidget* parent, const QFont& current) {
  bool ok = false;
  const QFont font = QFontDialog::getFont(&ok, current, parent, "フォント");
  if (!ok) return std::nullopt;
  return font;
}

QDateTime QtEditorChoosers::now() { return QDateTime::currentDateTime(); }

std::optional<std::string> chooseSavePath(QWidget* parent, const std::string& folder,
                                          base::Dialogs& dialogs) {
  // Names on this system keep their letter case: the lower-case forms are
  // listed as well.
  host::FileChooser dialog(parent, host::FileChooser::Mode::Save, "名前を付けて保存", folder,
                           {{"ＮＣ文書 (*.NC *.nc)", {"*.NC", "*.nc"}},
                            {"テキスト (*.TXT *.txt)", {"*.TXT", "*.txt"}},
                            {"すべて表示 (*)", {}}});
  dialog.setObjectName("SaveDialog1");
  dialog.setDefaultExtension("NC");
  dialog.setDialogs(&dialogs);
  if (dialog.exec() != QDialog::Accepted) return std::nullopt;
  return dialog.chosen();
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
