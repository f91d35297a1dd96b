#pragma once
// The dialogs and the clock the editor panel asks, behind one seam so that
// tests answer them: the open dialog with its preview, SaveDialog1, the font
// dialog, and the time for "日付と時刻".

#include <QDateTime>
#include <QFont>

#include <optional>
#include <string>

namespace kestrovan::base {
class Dialogs;
}
class QWidget;

namespace kestrovan::editor {

class EditorChoosers {
public:
  virtual ~EditorChoosers() = default;
  // A file to open in `folder` among those matching `mask`; nothing when cancelled.
  virtual std::optional<std::string> openFile(QWidget* parent, const std::string& folder,
                                              const std::string& mask) = 0;
  // SaveDialog1 in `folder`: the path to save a new document to.
  virtual std::optional<std::string> saveFile(QWidget* parent, const std::string& folder) = 0;
  virtual std::optional<QFont> chooseFont(QWidget* parent, const QFont& current) = 0;
  virtual QDateTime now() = 0;
};

// The real dialogs and the system clock; the open dialog tells its failures
// through the host's message boxes.
class QtEditorChoosers : public EditorChoosers {
public:
  explicit QtEditorChoosers(base::Dialogs& dialogs) : dialogs_(dialogs) {}
  std::optional<std::string> openFile(QWidget* parent, const std::string& folder,
                                      const std::string& mask) override;
  std::optional<std::string> saveFile(QWidget* parent, const std::string& folder) override;
  std::optional<QFont> chooseFont(QWidget* parent, const QFont& current) override;
  QDateTime now() override;

private:
  base::Dialogs& dialogs_;
};

// SaveDialog1: the program's file chooser in `folder` with the file types
// "ＮＣ文書", "テキスト" and "すべて表示", the default extension NC, asking
// through `dialogs` before it replaces a file; the path (bytes) or nothing.
std::optional<std::string> chooseSavePath(QWidget* parent, const std::string& folder, base::Dialogs& dialogs);

// "(" time " " date ")" for "日付と時刻": the system's long time (without a
// time zone) and short date.
QString dateTimeStamp(const QDateTime& when);

} // namespace kestrovan::editor
