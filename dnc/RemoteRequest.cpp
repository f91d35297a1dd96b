#include "dnc/RemoteRequest.h"

#include <algorithm>
#include <cstdio>
#include <filesystem>
#include <fstream>

namespace kestrovan::dnc {
namespace {

bool isDigit(char c) { return c >= '0' && c <= '9'; }
bool isLetterOrDigit(char c) { return isDigit(c) || (c >= 'A' && c <= 'Z') || (c >= 'a' && c <= 'z'); }

// How much of a program file is looked at for its first header.
constexpr std::size_t kHeaderLookBytes = 64 * 1024;

} // namespace

std::optional<long> firstProgramNumber(std::string_view text) {
  std::size_t start = 0;
  while (start < text.size()) {
    std::size_t end = text.find_first_of("\r\n", start);
    if (end == std::string_view::npos) end = text.size();
    std::string_view line = text.substr(start, end - start);
    start = end + 1;
    while (!line.empty() && (line.front() == ' ' || line.front() == '\t'))
      line.remove_prefix(1);
    if (line.empty() || line.front() == '%') continue;
    if ((line.front() != 'O' && line.front() != ':') || line.size() < 2 || !isDigit(line[1]))
      return std::nullopt; // program text before any header
    long number = 0;
    for (std::size_t i = 1; i < line.size() && isDigit(line[i]) && i <= 9; ++i)
      number = number * 10 + (line[i] - '0');
    return number;
  }
  return std::nullopt;
}

std::vector<RequestedProgram> requestedPrograms(std::string_view text) {
  std::vector<RequestedProgram> programs;
  bool inComment = false;
  for (std::size_t i = 0; i < text.size(); ++i) {
    const char c = text[i];
    if (c == '(') {
      inComment = true;
    } else if (c == ')' || c == '\n' || c == '\r') {
      inComment = false;
    } else if (inComment && c == 'O' && (i == 0 || !isLetterOrDigit(text[i - 1])) && i + 1 < text.size() &&
               isDigit(text[i + 1])) {
      std::size_t end = i + 1;
      long number = 0;
      while (end < text.size() && isDigit(text[end]) && end - i <= 8)
        number = number * 10 + (text[end++] - '0');
      if (end < text.size() && isLetterOrDigit(text[end])) continue; // part of a longer word
      RequestedProgram p{std::string(text.substr(i, end - i)), number};
      if (std::none_of(programs.begin(), programs.end(),
                       [&](const RequestedProgram& q) { return q.number == p.number; }))
        programs.push_back(std::move(p));
      i = end - 1;
    }
  }
  return programs;
}

std::string findProgramFile(const std::string& folder, const RequestedProgram& program) {
  namespace fs = std::filesystem;
  std::error_code ec;
  char padded[16];
  std::snprintf(padded, sizeof padded, "O%04ld", program.number);
  for (const std::string& name : {program.label + ".NC", std::string(padded) + ".NC"}) {
    const fs::path path = fs::path(folder) / name;
    if (fs::is_regular_file(path, ec)) return path.string();
  }
  std::vector<fs::path> files;
  for (fs::directory_iterator it(folder, ec), end; !ec && it != end; it.increment(ec))
    if (it->is_regular_file(ec)) files.push_back(it->path());
  std::sort(files.begin(), files.end());
  for (const fs::path& path : files) {
    std::ifstream in(path, std::ios::binary);
    std::string head(kHeaderLookBytes, '\0');
    in.read(head.data(), static_cast<std::streamsize>(head.size()));
    head.resize(static_cast<std::size_t>(in.gcount()));
    if (firstProgramNumber(head) == program.number) return path.string();
  }
  return "";
}

std::string notFoundProgram(const RequestedProgram& program) {
  return "%\r\nO" + std::to_string(kNotFoundProgramNumber) + " (NOT FOUND " + program.label + ")\r\n%\r\n";
}

} // namespace kestrovan::dnc
