#include "files/ChooserRows.h"

#include "platform/DirectoryEnum.h"
#include "platform/NameBytes.h"
#include "platform/Paths.h"
#include "platform/Wildcard.h"

#include <algorithm>

namespace kestrovan::files {
namespace {

std::string lowerAscii(std::string s) {
  for (char& c : s)
    if (c >= 'A' && c <= 'Z') c = static_cast<char>(c - 'A' + 'a');
  return s;
}

bool matches(const ChooserFilter& filter, const std::string& name) {
  if (filter.patterns.empty()) return true;
  return std::any_of(filter.patterns.begin(), filter.patterns.end(),
                     [&](const std::string& p) { return p == "*" || platform::wildcardMatch(p, name); });
}

} // namespace

ChooserListing chooserRows(const std::string& folder, const ChooserFilter& filter) {
  ChooserListing listing;
  const platform::NameList names = platform::readNames(folder);
  listing.error = names.error;
  for (const std::string& name : names.names) {
    if (name.empty() || name[0] == '.') continue;
    const bool isFolder = platform::isDirectory(platform::joinPath(folder, name));
    if (isFolder ? false : filter.foldersOnly || !matches(filter, name)) continue;
    listing.rows.push_back({name, platform::shownName(name), isFolder});
  }
  std::sort(listing.rows.begin(), listing.rows.end(), [](const ChooserRow& a, const ChooserRow& b) {
    if (a.isFolder != b.isFolder) return a.isFolder;
    const std::string la = lowerAscii(a.shown), lb = lowerAscii(b.shown);
    return la != lb ? la < lb : a.name < b.name;
  });
  return listing;
}

std::string shownPath(const std::string& path) {
  std::string shown;
  std::size_t start = 0;
  while (true) {
    const std::size_t slash = path.find('/', start);
    shown += platform::shownName(std::string_view(path).substr(start, slash - start));
    if (slash == std::string::npos) break;
    shown += '/';
    start = slash + 1;
  }
  return shown;
}

std::string withDefaultExtension(const std::string& name, const std::string& extension) {
  if (extension.empty()) return name;
  const std::size_t dot = name.rfind('.');
  if (dot != std::string::npos && dot > 0 && dot + 1 < name.size()) return name;
  if (dot != std::string::npos && dot + 1 == name.size()) return name + extension;
  return name + "." + extension;
}

} // namespace kestrovan::files
