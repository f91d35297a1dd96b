#pragma once
// The file list's own commands, which need no operation: paging, the marks
// (Enter, Home, End, Shift-click), the first and last row, entering a folder.

#include "core/ui/MainScreen.h"
#include "files/FileList.h"

#include <functional>

namespace kestrovan::core {

class ListCommands {
public:
  // `enterFolder` makes a folder the data folder and refreshes the list.
  ListCommands(MainScreen& screen, files::FileList& list, std::function<void(const std::string&)> enterFolder)
      : s_(screen), list_(list), enterFolder_(std::move(enterFolder)) {}

  void page(bool down);
  void first() { selectAndShow(0); }
  void last() { selectAndShow(static_cast<int>(list_.rows().size()) - 1); }
  // Enter or a double click on the selected row.
  void activateSelected();
  // A click on a row; with Shift the rows from the anchor are marked.
  void clicked(int row, bool shift);

private:
  void selectAndShow(int row);

  MainScreen& s_;
  files::FileList& list_;
  std::function<void(const std::string&)> enterFolder_;
  int markAnchor_ = -1;
};

} // namespace kestrovan::core
