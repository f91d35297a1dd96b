#pragma once
// The real main window with the NC tools plugged in, and the means to reach
// their dialogs: a tool dialog by its name, its fields, buttons and lists.

#include "FileOpsWindow.h"
#include "nctools/ui/NcToolOperations.h"
#include "support/Samples.h"

#include <QComboBox>
#include <QListWidget>
#include <QProgressBar>
#include <QPushButton>

#include <dirent.h>

namespace kestrovan::test {

struct ToolWindow : FileOpsWindow {
  nctools::NcToolOperations& tools() { return *window->operation<nctools::NcToolOperations>(); }
  QDialog* dialog(const char* name) const { return form->findChild<QDialog*>(name); }
  template <class T> T* in(const char* dialogName, const char* name) const {
    return dialog(dialogName)->findChild<T*>(name);
  }
  std::vector<std::string> listed(const char* dialogName) const {
    std::vector<std::string> items;
    auto* list = in<QListWidget>(dialogName, "ListBox1");
    for (int i = 0; i < list->count(); ++i)
      items.push_back(list->item(i)->text().toStdString());
    return items;
  }
  // Clicks into a field of a dialog and types, as the operator would: the
  // keys go to whatever took the focus (an editable box, not its line edit).
  static void typeInto(QWidget* field, const std::string& text) {
    field->setFocus();
    keyboard::type(text);
  }
  static void setField(QComboBox* box, const std::string& text) {
    box->setEditText("");
    typeInto(box->lineEdit(), text);
  }
  const base::Message& lastBox() const { return dialogs.shown.back(); }
};

inline std::vector<std::string> namesIn(const std::string& folder) {
  std::vector<std::string> names;
  if (DIR* d = opendir(folder.c_str())) {
    while (dirent* e = readdir(d))
      if (std::string n = e->d_name; n != "." && n != "..") names.push_back(n);
    closedir(d);
  }
  std::sort(names.begin(), names.end());
  return names;
}

inline std::string sample(const std::string& name) { return readFile(samplePath(name)); }

} // namespace kestrovan::test
