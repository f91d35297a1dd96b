#pragma once
// The prompt line (Edit1) and the message line beside it: which operation
// owns it (its mode), the characters that mode refuses whichever way they
// come in (typed, pasted, dropped, from an input method), and the Enter
// handler of the mode. Esc cancels, F10 closes the program.

#include "host/PromptMode.h"

#include <QObject>
#include <QString>

#include <functional>
#include <map>
#include <string>

class QKeyEvent;
class QLineEdit;

namespace kestrovan::base {
class Dialogs;
}

namespace kestrovan::core {

class PromptLine : public QObject {
public:
  using Handler = std::function<void(const std::string& text)>;
  struct Actions {
    std::function<void()> cancel; // Esc
    std::function<void()> close;  // F10
    std::function<std::string()> allFiles;
  };

  PromptLine(QLineEdit& edit, base::Dialogs& dialogs, Actions actions);

  void setHandler(host::PromptMode mode, Handler handler) { handlers_[mode] = std::move(handler); }
  void open(host::PromptMode mode, const std::string& initial);
  // Emptied and disabled; its mode ends.
  void close();
  void endMode() { mode_ = host::PromptMode::None; }

protected:
  bool eventFilter(QObject* watched, QEvent* event) override;

private:
  bool key(QKeyEvent* event);
  void edited(const QString& text);

  QLineEdit& edit_;
  base::Dialogs& dialogs_;
  Actions actions_;
  std::map<host::PromptMode, Handler> handlers_;
  host::PromptMode mode_ = host::PromptMode::None;
  QString before_; // the text before the latest edit
};

} // namespace kestrovan::core
