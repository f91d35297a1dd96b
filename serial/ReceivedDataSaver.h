#pragma once
// Where received lines end up: one file under a given name, or one file per
// program named after its header. Lines wait in the transfer view (at most a
// thousand, or a few megabytes) and are appended to the file at each write
// out, so a program of any length streams to disk.
//
// A file is written as a working copy beside it ("<name>.part") and put in
// place by a rename only when its program is complete, so that a stopped or
// failed reception never leaves a truncated program under a program's name
// and never destroys an earlier file of that name. A read-only file is never
// replaced: the reception fails before it writes anything for it.

#include <functional>
#include <string>
#include <string_view>

namespace kestrovan::base {
struct SettingsRecord;
}
namespace kestrovan::serial {

enum class SaveMode { ByName, PerProgramNumber };

struct SaveOptions {
  std::string dataFolder;
  std::string extension;     // of per-program files, from Mask
  bool numbered = false;     // Add_No "Y": "_001", "_002" ... after the program name
  bool percentFirst = false; // StartChar "Y": each program file begins with a "%" line
  bool percentLast = false;  // EndChar "Y": each program file ends with a "%" line
  // Called with a file's final name just before its finished working copy is
  // renamed over it; false fails the reception there (nothing replaced). A
  // service that keeps older files moves the one of that name away here.
  std::function<bool(const std::string& path)> beforePutInPlace = nullptr;
};
SaveOptions saveOptionsFrom(const base::SettingsRecord& settings);

// The suffix of a file being written.
inline constexpr std::string_view kWorkingCopySuffix = ".part";
std::string workingCopyPath(const std::string& path);

// Where a failed reception keeps what arrived of an unfinished program: the
// file's name with "_PART" (then "_PART2", "_PART3" ...) before its
// extension, so that the mask still lists it, it is never taken for the
// finished program, and the next reception of that name does not replace it.
// The first of these names that `exists` says is free.
std::string keptFileName(const std::string& path, int attempt);

class ReceivedDataSaver {
public:
  ReceivedDataSaver(SaveMode mode, SaveOptions options);
  ~ReceivedDataSaver();
  ReceivedDataSaver(const ReceivedDataSaver&) = delete;
  ReceivedDataSaver& operator=(const ReceivedDataSaver&) = delete;

  // Told of every line that enters the view and of every time it is emptied,
  // so that the screen shows what waits to be written.
  std::function<void(const std::string&)> onViewLine;
  std::function<void()> onViewEmptied;

  // By name: the one output file of the reception. Its working copy is created
  // empty now; false (see error()) when it cannot be, or when `path` is a folder.
  bool startByName(const std::string& path);

  // A line into the view.
  void addLine(const std::string& line);
  std::size_t viewBytes() const { return view_.size(); }

  // Appends the view to the output file and empties it. False when there is
  // no output file yet (per program, before the first header) or it cannot be
  // written; the view is then kept.
  bool writeOut();

  // Per program: the header (as shown in the program list) ends the previous
  // program's file and begins the next one.
  bool beginProgram(const std::string& header);

  // The end of a reception that is kept: the view is written out and the file
  // put in place under its name.
  bool finish();

  // A stopped reception: the unfinished program's working copy is deleted.
  // Files of programs already finished stay, and so does any earlier file
  // under the unfinished program's name.
  void discard();

  // A failed reception: nothing is deleted and nothing replaced. What waits
  // in the view, and `lastLine` (the line that had not ended), are written
  // to the unfinished program's working copy as far as the disk allows, and
  // the working copy gets a name of its own (keptFileName). Returns that
  // file ("" when nothing of the program arrived).
  std::string keepWhatArrived(const std::string& lastLine);

  // The file the reception writes (or wrote last) under its final name; empty
  // until there is one.
  const std::string& outputFile() const { return outputFile_; }
  int programCount() const { return programCount_; }
  // What went wrong with the last failed call, for diagnostics.
  const std::string& error() const { return error_; }

private:
  bool createWorkingCopy(const std::string& path);
  bool putInPlace();
  bool fail(const std::string& what, int err);

  SaveMode mode_;
  SaveOptions options_;
  std::string view_; // lines in CR LF, as they will be written
  std::string outputFile_;
  bool working_ = false; // the working copy of outputFile_ exists and is ours
  int programCount_ = 0;
  std::string error_;
};

} // namespace kestrovan::serial
