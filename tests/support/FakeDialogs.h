#pragma once
// Answers message boxes from a script and records what was shown.

#include "base/Dialogs.h"

#include <deque>
#include <vector>

namespace kestrovan::test {

class FakeDialogs : public base::Dialogs {
public:
  std::vector<base::Message> shown;
  std::deque<base::MessageAnswer> answers; // next answers; Ok/Yes-less default below

  base::MessageAnswer show(const base::Message& message) override {
    shown.push_back(message);
    if (!answers.empty()) {
      base::MessageAnswer a = answers.front();
      answers.pop_front();
      return a;
    }
    switch (message.buttons) {
    case base::MessageButtons::YesNo:
    case base::MessageButtons::YesNoAllCancel: return base::MessageAnswer::No;
    // Closing the box by its close button or Esc, as the real one does.
    case base::MessageButtons::YesNoCancel: return base::MessageAnswer::Cancel;
    default: return base::MessageAnswer::Ok;
    }
  }
};

} // namespace kestrovan::test
