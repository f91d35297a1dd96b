#pragma once
// The regions of the main window at their fixed places, in their colours and
// fonts. Built once; TForm1 fills and shows them. Every widget carries the
// objectName of its region so that tests can find it.

#include <string>

class QLabel;
class QLineEdit;
class QPlainTextEdit;
class QProgressBar;
class QWidget;
class QGroupBox;
class QListWidget;

namespace kestrovan::core {

class FileListBox;

struct MainScreen {
  QLabel* Label4;  // banner
  QLabel* LampDSR; // signal lamps at the banner's right end
  QLabel* LampCTS;
  QLabel* Label7; // header line: listed path and count
  QLabel* Label8; // info line of the selected row
  FileListBox* ListBox1;
  QLabel* Label2;   // key-help panel: the letter commands
  QLabel* Label11;  // message line
  QLineEdit* Edit1; // prompt line
  QLabel* Label3;   // drag line
  QLabel* Label6;   // hint line
  QLabel* Label1;   // the two function-key lines
  QWidget* StatusBar2;
  QLabel* statusPanels[7];
  QProgressBar* progressBar;

  // Transfer panel: the view of data sent or received, the log, a file view.
  QGroupBox* GroupBox2;
  QPlainTextEdit* RichEdit1;
  QLabel* remainingLine;      // "残り ###,###,##0ﾊﾞｲﾄ" while sending
  QListWidget* transferFiles; // program headers or the marked files being sent
  QLabel* transferKeyLine;
};

MainScreen buildMainScreen(QWidget* form);

// Colours of the message line.
inline constexpr const char* kLime = "lime";
inline constexpr const char* kRed = "red";
void setLabelColor(QLabel* label, const char* color);

// What the regions show.
void setMessageLine(const MainScreen& s, const std::string& text, const char* color);
void setStatusPanelText(const MainScreen& s, int index, const std::string& text);
void setProgressBar(const MainScreen& s, int value, int maximum);
void setDsrLamp(const MainScreen& s, bool on);
void setCtsLamp(const MainScreen& s, bool on);
// "DSR ?" and "CTS ?" in grey, until a lamp is set on or off again.
void setModemLampsUnknown(const MainScreen& s);

} // namespace kestrovan::core
