#pragma once
// The NC program tools as an operation module of the main window: B splits
// the selected file per program number, K and Shift+F4 join the marked
// files, H doubles one axis of the selected file. Each loads the file (or,
// for the join, each file in turn) with the file loader and opens its dialog.

#include "host/Operation.h"
#include "nctools/ui/DoublingForm.h"
#include "nctools/ui/JoinForm.h"
#include "nctools/OutputFiles.h"
#include "nctools/ui/SplitForm.h"

#include <string>

namespace kestrovan::host {
class FolderBrowser;
class Host;
} // namespace kestrovan::host

namespace kestrovan::nctools {

class NcToolOperations : public host::Operation {
public:
  // outputs: the real disk when null.
  NcToolOperations(host::Host& host, host::FolderBrowser& browser, OutputFiles* outputs = nullptr);

  TDividesForm& splitForm() { return splitForm_; }
  TPlusForm& joinForm() { return joinForm_; }
  TBai2Form& doublingForm() { return doublingForm_; }

private:
  void split();
  void join();
  void doubleAxis();
  // The selected file row's name and path, loaded into program_; false for
  // no file row or a file that cannot be opened (told).
  bool loadSelected(std::string& name, std::string& path);

  host::Host& host_;
  DiskOutputFiles disk_;
  TDividesForm splitForm_;
  TPlusForm joinForm_;
  TBai2Form doublingForm_;
  std::string program_; // the loaded program the split or the doubling works on
};

} // namespace kestrovan::nctools
