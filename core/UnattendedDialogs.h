#pragma once
// The message boxes of an unattended run (a transfer with END): nobody is at
// the screen, so no box waits. What a box would say goes to standard error,
// one line each, and every question is answered as its close box would
// answer it: No, Cancel, or OK where that is the only button. So an existing
// file is never overwritten and a missing folder is never made.

#include "base/Dialogs.h"

#include <cstdio>
#include <string>

namespace kestrovan::core {

// The answer of a box closed without a choice.
base::MessageAnswer closedAnswer(base::MessageButtons buttons);

// The line written for a box: its text on one line, and the answer given to
// a question.
std::string unattendedLine(const base::Message& message);

class UnattendedDialogs : public base::Dialogs {
public:
  explicit UnattendedDialogs(std::FILE* out = stderr) : out_(out) {}
  base::MessageAnswer show(const base::Message& message) override;

private:
  std::FILE* out_;
};

} // namespace kestrovan::core
