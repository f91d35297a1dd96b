#pragma once
// TPrintForm: prints the editor's text (all pages as one job, each page of a
// range as its own job, the selection through the clipboard), shows Qt's
// print preview, and opens the printer setup.

#include <string>

class QPlainTextEdit;
class QWidget;

namespace kestrovan::editor {

class TPrintForm {
public:
  explicit TPrintForm(QWidget* parent);
  virtual ~TPrintForm() = default;

  // The print dialog, then the jobs. `fileName` titles them ("new" for a
  // document never saved).
  void print(QPlainTextEdit& editor, const std::string& fileName);
  // Qt's preview of the whole text as it would print.
  void preview(QPlainTextEdit& editor, const std::string& fileName);
  // ToolButton15: the page and printer setup.
  void printerSetup();

private:
  QWidget* parent_;
};

} // namespace kestrovan::editor
