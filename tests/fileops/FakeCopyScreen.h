#pragma once
// Answers the overwrite questions of a copy or move from a script, records
// what it was asked, and can stop the operation after a number of pieces.

#include "files/CopyMove.h"

#include <deque>
#include <string>
#include <vector>

namespace kestrovan::test {

struct FakeCopyScreen : files::CopyMoveScreen {
  std::deque<files::OverwriteAnswer> answers; // then No
  std::vector<std::string> asked;             // targets
  std::vector<std::string> copied;            // sources begun
  int stopAfterPieces = -1;                   // -1: never
  int pieces = 0;

  files::OverwriteAnswer askOverwrite(const std::string&, const std::string& target) override {
    asked.push_back(target);
    if (answers.empty()) return files::OverwriteAnswer::No;
    const files::OverwriteAnswer a = answers.front();
    answers.pop_front();
    return a;
  }
  void copying(const std::string& source, const std::string&, std::uint64_t) override {
    copied.push_back(source);
  }
  bool keepGoing(std::uint64_t) override { return stopAfterPieces < 0 || pieces++ < stopAfterPieces; }
};

} // namespace kestrovan::test
