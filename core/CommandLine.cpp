#include "core/CommandLine.h"

namespace kestrovan::core {
namespace {
bool isTrimmed(unsigned char c) { return c <= 0x20 || c == 0x7F; }

std::string trimItem(const std::string& s) {
  size_t b = 0, e = s.size();
  while (b < e && isTrimmed(static_cast<unsigned char>(s[b])))
    ++b;
  while (e > b && isTrimmed(static_cast<unsigned char>(s[e - 1])))
    --e;
  return s.substr(b, e - b);
}
} // namespace

std::vector<std::string> cutCommandLine(const std::vector<std::string>& args,
                                        const std::function<bool(const std::string&)>& pathExists) {
  if (args.empty()) return {};
  const bool slashForm =
      !args.front().empty() && args.front().front() == '/' && !(pathExists && pathExists(args.front()));
  if (!slashForm) return args;

  std::string joined;
  for (const std::string& a : args)
    joined += a + " ";
  joined.erase(0, 1);

  std::vector<std::string> items;
  auto add = [&](const std::string& raw) {
    std::string item = trimItem(raw);
    if (!item.empty()) items.push_back(std::move(item));
  };
  size_t start = 0;
  for (size_t slash = joined.find('/'); slash != std::string::npos; slash = joined.find('/', start)) {
    add(joined.substr(start, slash - start));
    start = slash + 1;
  }
  add(joined.substr(start));
  return items;
}

} // namespace kestrovan::core
