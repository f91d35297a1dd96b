#pragma once
// The one seam through which logic asks the operator something or tells him a
// failure: a modal message box with a title, a text, buttons and an icon. The
// Qt layer shows real boxes; tests answer them.

#include <string>

namespace kestrovan::base {

enum class MessageIcon { None, Information, Warning, Error, Stop, Question };
// Yes: a single "はい(&Y)" button. YesNoAllCancel: the overwrite question of
// a copy or move (this file, not this file, every file from now on, stop).
// YesNoCancel: save, drop, or go back (the editor's closing question).
enum class MessageButtons { Ok, OkCancel, YesNo, Yes, YesNoAllCancel, YesNoCancel };
enum class MessageAnswer { Ok, Cancel, Yes, No, All };

struct Message {
  std::string title;
  std::string text; // UTF-8; "\n" breaks lines
  MessageButtons buttons = MessageButtons::Ok;
  MessageIcon icon = MessageIcon::None;
};

class Dialogs {
public:
  virtual ~Dialogs() = default;
  virtual MessageAnswer show(const Message& message) = 0;
};

} // namespace kestrovan::base
