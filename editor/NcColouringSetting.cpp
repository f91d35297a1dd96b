#include "editor/NcColouringSetting.h"

#include "base/SettingsRecord.h"

namespace kestrovan::editor {

bool ncColouringOn(const base::SettingsRecord& settings) { return settings.NC_Color == "Y"; }

} // namespace kestrovan::editor
