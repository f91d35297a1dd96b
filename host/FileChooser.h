#pragma once
// The program's own file and folder chooser: a folder's names listed from
// their bytes (a name that is not UTF-8 is listed, shown as CP932 and handed
// back with its own bytes), the folder's path above the list, a name field and
// the file types below it. Every path it takes and gives is bytes.
//
// Keys: the arrows and typing move in the list; Enter opens the folder under
// the cursor when the list has the keyboard and otherwise accepts the name
// field (in the folder browser an empty field accepts the folder shown);
// Backspace in the list and Alt+Up anywhere go up a folder; Esc cancels.

#include <QDialog>

#include <functional>
#include <optional>
#include <string>
#include <vector>

class QComboBox;
class QLabel;
class QLineEdit;
class QListView;
class QPushButton;
class QVBoxLayout;

namespace kestrovan::base {
class Dialogs;
}

namespace kestrovan::host {

class ChooserModel;

class FileChooser : public QDialog {
public:
  enum class Mode { Open, Save, Folder };
  struct FileType {
    std::string label;                 // "ＮＣ文書 (*.NC *.nc)"
    std::vector<std::string> patterns; // "*.NC", "*.nc"; none: every file
  };

  FileChooser(QWidget* parent, Mode mode, const std::string& caption, const std::string& folder,
              std::vector<FileType> types = {});
  ~FileChooser() override;

  // Added to a name that has no extension when it is saved ("NC").
  void setDefaultExtension(std::string extension) { extension_ = std::move(extension); }
  // Where its questions and messages go (the save's overwrite question, a
  // name not found); without it, Qt's own message boxes.
  void setDialogs(base::Dialogs* dialogs) { dialogs_ = dialogs; }
  // Runs with the full path (bytes) of the file under the list's cursor.
  void onCurrentFile(std::function<void(const std::string&)> seen) { seen_ = std::move(seen); }
  // Room below the file types for a widget of the caller's (a preview).
  void addBelow(QWidget* widget);

  std::string folder() const { return folder_; }
  // The accepted path, bytes.
  const std::optional<std::string>& chosen() const { return chosen_; }
  // Shows the folder `folder` (bytes).
  void goTo(const std::string& folder);

private:
  void goUp();
  void enterPressed();
  void acceptName();
  void currentRowChanged();
  void refresh();
  std::string typedName() const;
  void finish(const std::string& path);
  bool ask(const std::string& text, bool question);

  Mode mode_;
  std::vector<FileType> types_;
  std::string folder_;
  std::string extension_;
  base::Dialogs* dialogs_ = nullptr;
  std::function<void(const std::string&)> seen_;
  std::optional<std::string> chosen_;
  std::string rowName_; // the bytes of the name last put into the name field
  QString rowShown_;    // and its text there

  ChooserModel* model_ = nullptr;
  QLabel* path_ = nullptr;
  QListView* list_ = nullptr;
  QLineEdit* name_ = nullptr;
  QComboBox* typeBox_ = nullptr;
  QPushButton* ok_ = nullptr;
  QPushButton* cancel_ = nullptr;
  QVBoxLayout* below_ = nullptr;
};

} // namespace kestrovan::host
