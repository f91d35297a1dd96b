#include "external/Launch.h"

#include "platform/Paths.h"

#include <cstdlib>

namespace kestrovan::external {
namespace {

bool isPlaceholder(std::string_view text, std::size_t at) {
  return at + 1 < text.size() && text[at] == '$' && text[at + 1] >= 'A' && text[at + 1] <= 'D';
}

// The application cut at its first space: the program part and the template.
std::pair<std::string_view, std::string_view> cutAtFirstSpace(std::string_view application) {
  const std::size_t space = application.find(' ');
  if (space == std::string_view::npos) return {application, {}};
  return {application.substr(0, space), application.substr(space + 1)};
}

} // namespace

std::string SelectedFile::path() const { return platform::joinPath(folder, name); }

std::string SelectedFile::pathWithoutExtension() const {
  return platform::joinPath(folder, nameWithoutExtension());
}

std::string SelectedFile::nameWithoutExtension() const { return platform::removeExtension(name); }

std::string programPath(std::string_view application) {
  return std::string(cutAtFirstSpace(application).first);
}

std::string initialArgument(std::string_view application, const SelectedFile& file) {
  std::string text;
  if (application.find("$A") != std::string_view::npos) text = file.path();
  if (application.find("$B") != std::string_view::npos) text = file.pathWithoutExtension();
  if (application.find("$C") != std::string_view::npos) text = file.name;
  if (application.find("$D") != std::string_view::npos) text = file.nameWithoutExtension();
  return text;
}

std::string replacePlaceholders(std::string_view text, std::string_view argument) {
  std::string out;
  for (std::size_t i = 0; i < text.size(); ++i) {
    if (isPlaceholder(text, i)) {
      out += argument;
      ++i;
    } else {
      out += text[i];
    }
  }
  return out;
}

std::vector<std::string> templateWords(std::string_view text) {
  std::vector<std::string> words;
  std::string word;
  bool inWord = false;
  bool quoted = false;
  for (char c : text) {
    if (c == '"') {
      quoted = !quoted;
      inWord = true; // "" is an empty word of its own
    } else if (c == ' ' && !quoted) {
      if (inWord) words.push_back(word);
      word.clear();
      inWord = false;
    } else {
      word += c;
      inWord = true;
    }
  }
  if (inWord) words.push_back(word);
  return words;
}

std::string findProgram(const std::string& path) {
  if (path.empty()) return {};
  if (path.find('/') != std::string::npos)
    return platform::isAbsolutePath(path) && platform::isExecutableFile(path) ? path : std::string();
  const char* searchPath = std::getenv("PATH");
  std::string_view folders = searchPath ? searchPath : "";
  while (!folders.empty()) {
    const std::size_t colon = folders.find(':');
    const std::string_view folder = folders.substr(0, colon);
    folders = colon == std::string_view::npos ? std::string_view() : folders.substr(colon + 1);
    // An empty or relative PATH entry would be the working folder.
    if (!platform::isAbsolutePath(folder)) continue;
    const std::string candidate = platform::joinPath(folder, path);
    if (platform::isExecutableFile(candidate)) return candidate;
  }
  return {};
}

std::string findDocument(const std::string& path) {
  return platform::isAbsolutePath(path) && platform::isRegularFile(path) ? path : std::string();
}

LetterDecision decideLetterStart(const CommandEntry& entry, const std::optional<SelectedFile>& file,
                                 const ProgramFinder& find, const ProgramFinder& findOther) {
  LetterDecision d;
  if (!file) {
    d.step = LetterDecision::Step::SelectAFile;
    return d;
  }
  const std::string path = programPath(entry.application);
  Launch launch{Launch::How::Start, find(path), {}};
  // A file that is no program is opened as X opens the selected file.
  if (launch.target.empty()) launch = {Launch::How::Open, findOther(path), {}};
  if (launch.target.empty()) {
    d.step = LetterDecision::Step::NoProgram;
    return d;
  }
  if (entry.useArguments == "Y") {
    d.step = LetterDecision::Step::AskArgument;
    d.initialArgument = initialArgument(entry.application, *file);
    return d;
  }
  d.step = LetterDecision::Step::Start;
  d.launch = std::move(launch);
  return d;
}

Launch launchOnOk(std::string_view application, std::string_view argument, const ProgramFinder& find,
                  const ProgramFinder& findOther) {
  const auto [programPart, arguments] = cutAtFirstSpace(application);
  const std::string path = replacePlaceholders(programPart, argument);
  const std::string program = find(path);
  if (program.empty()) {
    if (!argument.empty()) return {};
    const std::string document = findOther(path);
    if (document.empty()) return {};
    return {Launch::How::Open, document, {}};
  }
  Launch launch{Launch::How::Start, program, {}};
  if (argument.empty()) return launch;
  for (const std::string& word : templateWords(arguments))
    launch.arguments.push_back(replacePlaceholders(word, argument));
  return launch;
}

Launch openWithAssociation(const SelectedFile& file) { return {Launch::How::Open, file.path(), {}}; }

bool carryOut(const Launch& launch, Launcher& launcher) {
  switch (launch.how) {
  case Launch::How::Start: return launcher.start(launch.target, launch.arguments);
  case Launch::How::Open: return launcher.open(launch.target);
  case Launch::How::Nothing: break;
  }
  return false;
}

} // namespace kestrovan::external
