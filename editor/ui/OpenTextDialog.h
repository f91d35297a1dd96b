#pragma once
// COpenTextDialog: the program's file chooser with a memo below that shows
// the beginning of the file under its cursor.

#include "host/FileChooser.h"

#include <optional>
#include <string>

class QPlainTextEdit;
class QWidget;

namespace kestrovan::base {
class Dialogs;
}

namespace kestrovan::editor {

// The message for a selected file that is not text, and its caption.
inline constexpr const char* kNotTextPreview =
    "ファイルのプレビューが出来ません。\n(ファイルタイプが違います。)";
inline constexpr const char* kNotTextCaption = "警告";

// Runs the dialog modally in `folder`, listing the files that match `mask`
// (the listing mask, "*.NC" or "*.*"); the chosen file's full path (bytes),
// or nothing when it was cancelled. The preview's messages go to `dialogs`.
std::optional<std::string> chooseTextFile(QWidget* parent, const std::string& folder, const std::string& mask,
                                          base::Dialogs& dialogs);

// The dialog itself. Its memo is the child "PreviewMemo": read-only, 80
// pixels high across the bottom, both scroll bars. Whenever the current file
// changes to an existing file its first 1023 bytes show there (up to a NUL
// after the first 100 bytes); a file with a NUL among its first 100 bytes is
// refused with kNotTextPreview and the memo keeps what it showed; a file that
// cannot be read shows the system's reason.
class COpenTextDialog : public host::FileChooser {
public:
  COpenTextDialog(QWidget* parent, const std::string& folder, const std::string& mask,
                  base::Dialogs& dialogs);

  QPlainTextEdit* memo() const { return memo_; }
  // What a change of the current file to `path` (bytes) does.
  void previewPath(const std::string& path);

private:
  base::Dialogs& dialogs_;
  QPlainTextEdit* memo_ = nullptr;
  std::string previewed_; // the file the memo or the last message was about
};

} // namespace kestrovan::editor
