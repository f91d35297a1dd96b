#include "FuzzSupport.h"

#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <dirent.h>
#include <fcntl.h>
#include <ftw.h>
#include <sys/stat.h>
#include <unistd.h>

namespace kestrovan::fuzz {
namespace {

int removeEntry(const char* path, const struct stat*, int, struct FTW*) {
  ::remove(path);
  return 0;
}

void removeTree(const std::string& folder) { ::nftw(folder.c_str(), removeEntry, 16, FTW_DEPTH | FTW_PHYS); }

std::string makeScratch() {
  const char* tmp = std::getenv("TMPDIR");
  std::string pattern = std::string(tmp && *tmp ? tmp : "/tmp") + "/kestrovan-fuzz-XXXXXX";
  if (!::mkdtemp(pattern.data())) fail("cannot make a scratch folder", pattern);
  std::atexit([] { removeTree(scratchFolder()); });
  return pattern;
}

} // namespace

const std::string& scratchFolder() {
  static const std::string folder = makeScratch();
  return folder;
}

void clearScratch() {
  for (const auto& name : namesIn(scratchFolder()))
    removeTree(scratchFolder() + "/" + name);
}

std::vector<std::string> namesIn(const std::string& folder) {
  std::vector<std::string> names;
  DIR* dir = ::opendir(folder.c_str());
  if (!dir) return names;
  while (const dirent* entry = ::readdir(dir)) {
    std::string name = entry->d_name;
    if (name != "." && name != "..") names.push_back(name);
  }
  ::closedir(dir);
  std::sort(names.begin(), names.end());
  return names;
}

bool writeFile(const std::string& path, std::string_view bytes) {
  FILE* file = std::fopen(path.c_str(), "wb");
  if (!file) return false;
  bool ok = std::fwrite(bytes.data(), 1, bytes.size(), file) == bytes.size();
  return std::fclose(file) == 0 && ok;
}

std::string readFile(const std::string& path) {
  std::string bytes;
  FILE* file = std::fopen(path.c_str(), "rb");
  if (!file) return bytes;
  char buffer[65536];
  size_t n;
  while ((n = std::fread(buffer, 1, sizeof buffer, file)) > 0)
    bytes.append(buffer, n);
  std::fclose(file);
  return bytes;
}

void fail(const char* what, std::string_view detail) {
  std::fprintf(stderr, "\n== FUZZ CHECK FAILED: %s\n", what);
  if (!detail.empty()) {
    std::fprintf(stderr, "   detail (%zu bytes): ", detail.size());
    for (unsigned char c : detail.substr(0, 512))
      std::fprintf(stderr, (c >= 0x20 && c < 0x7f && c != '\\') ? "%c" : "\\x%02x", c);
    std::fprintf(stderr, "\n");
  }
  std::abort();
}

} // namespace kestrovan::fuzz
