#pragma once
// Starting the programs of the external command table on the selected file
// (Alt+A ... Alt+Z), and opening a file with the program the desktop
// associates with it (X). The rules only: what to start, with which
// arguments, or nothing. The window asks for the argument and hands the
// result to a Launcher, which starts it without a shell.

#include "external/CommandTable.h"

#include <functional>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace kestrovan::external {

// The file a command runs on: the listed folder and the selected file's name.
struct SelectedFile {
  std::string folder;
  std::string name;

  std::string path() const;                 // $A: the full path
  std::string pathWithoutExtension() const; // $B: the full path without the name's extension
  std::string nameWithoutExtension() const; // $D: the name alone without its extension ($C: name)
};

// The program path of a command application: up to its first space, all of
// it when it has none. A program path therefore holds no space.
std::string programPath(std::string_view application);

// What the argument box first shows: empty, or the file's text for the last
// of "$A", "$B", "$C", "$D" (in that order) that the application holds.
std::string initialArgument(std::string_view application, const SelectedFile& file);

// `text` with every "$A", "$B", "$C" and "$D" replaced by `argument`, in one
// pass: what the argument brings in (a file name may hold "$B") stays as it is.
std::string replacePlaceholders(std::string_view text, std::string_view argument);

// The words of an argument template: separated by blanks; a stretch between
// double quotes belongs to its word with its blanks, the quotes removed
// (`"$A"`, written for a path with spaces, is one word).
std::vector<std::string> templateWords(std::string_view text);

// The program a path names: an executable file, a bare name looked up in
// PATH as a terminal would look it up. Empty when nothing can start: no such
// file, a file without the execute bit, a folder, a relative path with a
// folder in it (never read against the working folder).
std::string findProgram(const std::string& path);
using ProgramFinder = std::function<std::string(const std::string&)>;

// A file that is no program but is there to be opened (a set-up sheet, a
// drawing): an absolute path to an existing regular file. Empty otherwise.
std::string findDocument(const std::string& path);

struct Launch {
  enum class How { Nothing, Start, Open };
  How how = How::Nothing;
  std::string target;                 // Start: the program; Open: the file
  std::vector<std::string> arguments; // Start: each one reaches the program as it is
};

// Alt+letter, up to the argument dialog.
struct LetterDecision {
  enum class Step {
    SelectAFile, // the selection is no file row: the "ﾌｧｲﾙを選択して下さい。" box
    NoProgram,   // no file at the program path (nor a program of that name): nothing, no message
    AskArgument, // use arguments "Y": the argument dialog, filled with `initialArgument`
    Start,       // otherwise: `launch` starts the program alone, the file not passed, or
                 // opens a file that is no program with the desktop's opener
  };
  Step step = Step::NoProgram;
  std::string initialArgument;
  Launch launch;
};

LetterDecision decideLetterStart(const CommandEntry& entry, const std::optional<SelectedFile>& file,
                                 const ProgramFinder& find = findProgram,
                                 const ProgramFinder& findOther = findDocument);

// OK in the argument dialog with the box's text `argument`. Every placeholder
// of the application becomes the argument. The program is the application up
// to its first space; each word after it becomes one argument. An empty
// argument starts the program alone; so does an application without a space.
// A file that is no program is opened with the desktop's opener when the
// argument is empty; it cannot take one, so with an argument nothing starts.
Launch launchOnOk(std::string_view application, std::string_view argument,
                  const ProgramFinder& find = findProgram, const ProgramFinder& findOther = findDocument);

// X: the file opened with the program the desktop associates with it.
Launch openWithAssociation(const SelectedFile& file);

// Starts what a Launch says. Nothing is waited for; nothing is reported.
class Launcher {
public:
  virtual ~Launcher() = default;
  // The program, detached, with its arguments as a list (no shell).
  virtual bool start(const std::string& program, const std::vector<std::string>& arguments) = 0;
  // The file, with the desktop's opener.
  virtual bool open(const std::string& path) = 0;
};

bool carryOut(const Launch& launch, Launcher& launcher);

} // namespace kestrovan::external
