#include "editor/NcColouringSetting.h"

#include "base/SettingsRecord.h"

namespace kestrovan::editor {

bool ncColouringOn(const base::SettingsRecord&) { return false; }

} // namespace kestrovan::editor
