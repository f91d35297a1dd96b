// The nctools module grows here as its features land.
namespace kestrovan::nctools {
int moduleAnchor() { return 0; }
} // namespace kestrovan::nctools
