#pragma once
// Answers message boxes from a script and records what was shown.

#include "core/Dialogs.h"

#include <deque>
#include <vector>

namespace kestrovan::test {

class FakeDialogs : public core::Dialogs {
public:
  std::vector<core::Message> shown;
  std::deque<core::MessageAnswer> answers; // next answers; Ok/Yes-less default below

  core::MessageAnswer show(const core::Message& message) override {
    shown.push_back(message);
    if (!answers.empty()) {
      core::MessageAnswer a = answers.front();
      answers.pop_front();
      return a;
    }
    return message.buttons == core::MessageButtons::YesNo ? core::MessageAnswer::No : core::MessageAnswer::Ok;
  }
};

} // namespace kestrovan::test
