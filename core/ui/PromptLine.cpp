#include "core/ui/PromptLine.h"

#include "base/Dialogs.h"
#include "core/ScreenRules.h"

#include <QKeyEvent>
#include <QLineEdit>

namespace kestrovan::core {

PromptLine::PromptLine(QLineEdit& edit, base::Dialogs& dialogs, Actions actions)
    : edit_(edit), dialogs_(dialogs), actions_(std::move(actions)) {
  edit_.installEventFilter(this);
  // Typed characters are refused before they go in (key); a paste, a drop
  // or an input method is checked once it is in and taken back. Qt reports
  // the edit before the change, so the text before it is at hand.
  connect(&edit_, &QLineEdit::textEdited, this, &PromptLine::edited);
  connect(&edit_, &QLineEdit::textChanged, this, [this] { before_ = edit_.text(); });
}

void PromptLine::open(host::PromptMode mode, const std::string& initial) {
  edit_.setEnabled(true);
  edit_.setText(QString::fromStdString(initial));
  mode_ = mode;
  edit_.setFocus();
}

void PromptLine::close() {
  edit_.clear();
  edit_.setEnabled(false);
  mode_ = host::PromptMode::None;
}

bool PromptLine::eventFilter(QObject* watched, QEvent* event) {
  if (watched == &edit_ && event->type() == QEvent::KeyPress) return key(static_cast<QKeyEvent*>(event));
  return QObject::eventFilter(watched, event);
}

bool PromptLine::key(QKeyEvent* k) {
  switch (k->key()) {
  case Qt::Key_Escape:
    edit_.clear();
    actions_.cancel();
    return true;
  case Qt::Key_F10: actions_.close(); return true;
  case Qt::Key_Return:
  case Qt::Key_Enter: {
    const std::string text = edit_.text().toStdString();
    if (text.empty()) return true;
    auto handler = handlers_.find(mode_);
    if (handler != handlers_.end() && handler->second) handler->second(text);
    return true;
  }
  case Qt::Key_Backspace: return false;
  default: break;
  }
  const QString typed = k->text();
  if (typed.isEmpty()) return false;
  const PromptRule rule = promptRule(mode_, actions_.allFiles());
  for (QChar c : typed) {
    if (c.unicode() < 0x80 && rule.forbidden.find(static_cast<char>(c.unicode())) != std::string::npos) {
      dialogs_.show({"確認", rule.message, base::MessageButtons::Ok, base::MessageIcon::Error});
      return true;
    }
  }
  return false;
}

void PromptLine::edited(const QString& text) {
  const PromptRule rule = promptRule(mode_, actions_.allFiles());
  if (!refusesEdit(rule, before_.toStdString(), text.toStdString())) return;
  const QString before = before_;
  qsizetype sameEnd = 0;
  while (sameEnd < before.size() && sameEnd < text.size() &&
         before[before.size() - 1 - sameEnd] == text[text.size() - 1 - sameEnd])
    ++sameEnd;
  edit_.setText(before);
  edit_.setCursorPosition(static_cast<int>(before.size() - sameEnd));
  dialogs_.show({"確認", rule.message, base::MessageButtons::Ok, base::MessageIcon::Error});
}

} // namespace kestrovan::core
