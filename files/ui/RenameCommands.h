#pragma once
// Rename (R) of the selected entry or of the marked files, and the extension
// prompt (F6) that sets the listing mask.

#include "files/ui/RenameForms.h"
#include "files/RenameTexts.h"

#include <optional>
#include <string>
#include <vector>

namespace kestrovan::host {
class Host;
}

namespace kestrovan::files {

class RenameCommands {
public:
  // Waited between two files of a several-files rename, the window alive.
  static constexpr int kPauseMs = 100;

  explicit RenameCommands(host::Host& host);

  void renameCommand();
  void extensionPrompt();
  void extensionEntered(const std::string& typed);

  TRenameForm& single() { return single_; }
  TRenameMultiForm& several() { return several_; }

private:
  void renameSingle();
  void renameSeveral();
  // Renames within the data folder; why not, when it was refused.
  std::optional<RefusedName> rename(const std::string& from, const std::string& to);
  void tellRefused(const std::vector<RefusedName>& refused);
  void backToList();

  host::Host& host_;
  TRenameForm single_;
  TRenameMultiForm several_;
};

} // namespace kestrovan::files
