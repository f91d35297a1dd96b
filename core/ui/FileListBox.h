#pragma once
// ListBox1: the owner-drawn, newspaper-column file list. Rows run down a
// column and on into the next; the list scrolls sideways a column at a time.
// File rows are white, ".." and folder rows aqua, the selected row inverted,
// and the blank mark column of an unmarked row is clipped away so that only
// a "*" shows.

#include <QWidget>

#include <functional>
#include <vector>

namespace kestrovan::files {
struct ColumnLayout;
}

namespace kestrovan::core {

class FileListBox : public QWidget {
  Q_OBJECT
public:
  static constexpr int kRowHeight = 16;

  explicit FileListBox(QWidget* parent);

  void setRows(std::vector<QString> rows);
  void setRowText(int row, const QString& text);
  const std::vector<QString>& rows() const { return rows_; }
  // Which rows are drawn aqua (the ".." and folder rows).
  void setFolderRowTest(std::function<bool(int)> isFolderRow) { isFolderRow_ = std::move(isFolderRow); }

  void setColumns(int columns);
  int columns() const { return columns_; }
  int rowsPerColumn() const;
  int firstVisibleColumn() const { return firstColumn_; }

  int selectedRow() const { return selected_; }
  // Selects a row (-1 for none) and scrolls it into view.
  void selectRow(int row);
  int rowAt(QPoint pos) const;

Q_SIGNALS:
  void rowClicked(int row, Qt::KeyboardModifiers modifiers);
  void rowDoubleClicked(int row);
  void selectionMoved(int row);

protected:
  void paintEvent(QPaintEvent* event) override;
  void keyPressEvent(QKeyEvent* event) override;
  void mousePressEvent(QMouseEvent* event) override;
  void mouseDoubleClickEvent(QMouseEvent* event) override;
  void resizeEvent(QResizeEvent* event) override;

private:
  files::ColumnLayout layout() const;
  int columnWidth() const;
  void scrollIntoView(int row);

  std::vector<QString> rows_;
  std::function<bool(int)> isFolderRow_;
  int columns_ = 2;
  int firstColumn_ = 0;
  int selected_ = -1;
};

} // namespace kestrovan::core
