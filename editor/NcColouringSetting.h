#pragma once
// Whether the settings ask for NC syntax colouring in the file view.

namespace kestrovan::base {
struct SettingsRecord;
}

namespace kestrovan::editor {

// The editor's colouring switch as the settings hold it; off while the
// settings have no such key.
bool ncColouringOn(const base::SettingsRecord& settings);

} // namespace kestrovan::editor
