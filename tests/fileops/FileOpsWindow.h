#pragma once
// The real main window with the file operations plugged in, and the means to
// drive it: keys, the prompt line, rows by name, and answers to the modal
// dialogs that block until they are closed.

#include "StartedForm.h"
#include "files/ui/FileOperations.h"
#include "host/FolderBrowser.h"
#include "support/Keyboard.h"

#include <QLabel>
#include <QLineEdit>
#include <QTimer>

#include <functional>
#include <optional>

namespace kestrovan::test {

struct FakeBrowser : host::FolderBrowser {
  std::optional<std::string> answer;
  std::vector<std::string> captions, starts;
  std::optional<std::string> browse(QWidget*, const std::string& caption, const std::string& start) override {
    captions.push_back(caption);
    starts.push_back(start);
    return answer;
  }
};

struct FileOpsWindow : StartedForm {
  FakeBrowser browser;

  void open(const std::string& allFiles = "Y") {
    folderBrowser = &browser;
    start();
    if (testing::Test::HasFatalFailure()) return;
    form->state().settings.ALL_Files = allFiles;
    form->refreshFileList();
  }
  base::SettingsRecord& settings() { return form->state().settings; }
  files::FileOperations& ops() { return *window->operation<files::FileOperations>(); }
  QLineEdit* prompt() const { return find<QLineEdit>("Edit1"); }
  std::string message() const { return find<QLabel>("Label11")->text().toStdString(); }
  std::string dragLine() const { return find<QLabel>("Label3")->text().toStdString(); }

  int rowOf(const std::string& name) const {
    const std::vector<std::string>& rows = form->fileList().rows();
    for (int r = 0; r < static_cast<int>(rows.size()); ++r) {
      const files::FileEntry* e = form->fileList().entryAt(r);
      if (e && e->name == name) return r;
    }
    return -1;
  }
  void select(const std::string& name) {
    list()->selectRow(rowOf(name));
    list()->setFocus();
  }
  void mark(const std::vector<std::string>& names) {
    for (const std::string& n : names)
      ASSERT_TRUE(form->fileList().toggleMark(rowOf(n))) << n;
  }
  // Keys go where a keyboard sends them: to whatever has the focus.
  void key(int k, Qt::KeyboardModifiers mods = Qt::NoModifier) {
    keyboard::press(static_cast<Qt::Key>(k), mods);
  }
  void type(const std::string& text) { keyboard::type(text); }
  // The middle of a row on the list (two columns of 21 rows).
  QPoint rowPoint(int row) const {
    const int perColumn = list()->rowsPerColumn();
    const int columnWidth = list()->width() / list()->columns();
    return {(row / perColumn) * columnWidth + 60, (row % perColumn) * 16 + 8};
  }
};

// Runs `answer` on the first visible widget of type T (a modal dialog, a
// menu) as soon as it shows, while the code that opened it waits in it.
template <class T> void whenShown(QObject* owner, std::function<void(T*)> answer) {
  auto* timer = new QTimer(owner);
  QObject::connect(timer, &QTimer::timeout, owner, [timer, answer] {
    for (QWidget* w : QApplication::topLevelWidgets())
      if (auto* t = dynamic_cast<T*>(w); t && t->isVisible()) {
        timer->stop();
        timer->deleteLater();
        answer(t);
        return;
      }
  });
  timer->start(1);
}

} // namespace kestrovan::test
