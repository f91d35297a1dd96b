// The editor module grows here as its features land.
namespace kestrovan::editor {
int moduleAnchor() { return 0; }
} // namespace kestrovan::editor
