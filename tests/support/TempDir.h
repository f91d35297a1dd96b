#pragma once
// A temporary folder for one test, removed with everything in it afterwards.

#include <string>
#include <string_view>

namespace kestrovan::test {

class TempDir {
public:
  TempDir();
  ~TempDir();
  TempDir(const TempDir&) = delete;
  TempDir& operator=(const TempDir&) = delete;

  const std::string& path() const { return path_; }
  std::string file(std::string_view name) const { return path_ + "/" + std::string(name); }

private:
  std::string path_;
};

// Whole-file helpers for assertions on what is left on disk.
std::string readFile(const std::string& path);
void writeFile(const std::string& path, std::string_view bytes);
bool fileExists(const std::string& path);

} // namespace kestrovan::test
