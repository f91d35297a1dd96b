#pragma once
// An operation module as the composition root holds it: built with the host
// (and whatever seams it needs), it registers its commands in its
// constructor and lives as long as the main window.

namespace kestrovan::host {

class Operation {
public:
  virtual ~Operation() = default;
};

} // namespace kestrovan::host
