#pragma once
// The external commands as an operation module of the main window: Y opens
// the table dialog, X opens the selected file with its associated program,
// holding Alt shows the external-command list and attaches Alt+A ... Alt+Z,
// which start the program of their letter on the selected file (through the
// argument dialog when the letter uses arguments). A key released in the list
// hides the list and detaches the shortcuts again.

#include "external/ui/AltListPanel.h"
#include "external/ui/AppopenForm.h"
#include "external/ui/DesktopLauncher.h"
#include "external/ui/OutAppForm.h"
#include "host/Operation.h"

#include <optional>

namespace kestrovan::host {
class Host;
}

namespace kestrovan::external {

struct SelectedFile;

class ExternalOperations : public host::Operation {
public:
  explicit ExternalOperations(host::Host& host);

  TAppopenForm& appopenForm() { return AppopenForm; }
  TOutAppForm& outAppForm() { return OutAppForm; }
  // The list shows and Alt+A ... Alt+Z are attached.
  bool altListShown() const { return AltListShown; }

  // Alt+letter: the command of `letter` on the selected file.
  void startByLetter(char letter);

private:
  void showAltList();
  void hideAltList();
  std::optional<SelectedFile> selectedFile() const;

  host::Host& host_;
  DesktopLauncher launcher_;
  AltListPanel altList_;
  TAppopenForm AppopenForm;
  TOutAppForm OutAppForm;
  bool AltListShown = false;
};

} // namespace kestrovan::external
