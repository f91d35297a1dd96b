#pragma once
// The file list's view of the main screen: the list widget, the header and
// info lines, the wait cursor.

#include "files/FileListView.h"

namespace kestrovan::core {

struct MainScreen;

class MainListView : public files::FileListView {
public:
  explicit MainListView(MainScreen& screen) : s_(screen) {}
  void setRows(const std::vector<std::string>& rows) override;
  void setRowText(int row, const std::string& text) override;
  int selectedRow() const override;
  void selectRow(int row) override;
  void setHeaderLine(const std::string& text) override;
  void setInfoLine(const std::string& text) override;
  void setWaitCursor(bool on) override;
  void focusList() override;
  int listHeight() const override;

private:
  MainScreen& s_;
};

} // namespace kestrovan::core
