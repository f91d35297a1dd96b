#pragma once
// What the file list needs from the screen: the list widget with its rows and
// selection, the header and info lines above it, and the wait cursor. The Qt
// main window implements it; tests use a fake.

#include <string>
#include <vector>

namespace kestrovan::files {

class FileListView {
public:
  virtual ~FileListView() = default;

  // Replaces every row at once; the widget repaints once, not per row.
  virtual void setRows(const std::vector<std::string>& rows) = 0;
  // Rewrites one row whose mark column changed.
  virtual void setRowText(int row, const std::string& text) = 0;
  // The selected row, -1 when there is none.
  virtual int selectedRow() const = 0;
  virtual void selectRow(int row) = 0;

  virtual void setHeaderLine(const std::string& text) = 0;
  virtual void setInfoLine(const std::string& text) = 0;

  // The hourglass while a folder is read. Switching it on must also paint
  // the window at once, so the "searching" row is seen during the read.
  // Every "off" follows one "on": the cursors of the desktop are a stack.
  virtual void setWaitCursor(bool on) = 0;
  virtual void focusList() = 0;
  // Height of the list in pixels; rows are 16 pixels high.
  virtual int listHeight() const = 0;
};

} // namespace kestrovan::files
