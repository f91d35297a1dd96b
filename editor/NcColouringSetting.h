#pragma once
// Whether the settings ask for NC syntax colouring in the file view.

namespace kestrovan::base {
struct SettingsRecord;
}

namespace kestrovan::editor {

// The colouring switch of [Edit] "NC Color", shared with the editor.
bool ncColouringOn(const base::SettingsRecord& settings);

} // namespace kestrovan::editor
