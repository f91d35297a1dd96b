#include "serial/ReceivedDataSaver.h"

#include "base/SettingsRecord.h"
#include "platform/Paths.h"
#include "serial/ReceiveFileNames.h"

#include <cerrno>
#include <cstdio>
#include <cstring>
#include <filesystem>
#include <system_error>

namespace kestrovan::serial {

SaveOptions saveOptionsFrom(const base::SettingsRecord& settings) {
  SaveOptions o;
  o.dataFolder = settings.DirPath;
  o.extension = outputExtension(settings.Mask);
  o.numbered = settings.Add_No == "Y";
  o.percentFirst = settings.StartChar == "Y";
  o.percentLast = settings.EndChar == "Y";
  return o;
}

std::string workingCopyPath(const std::string& path) { return path + std::string(kWorkingCopySuffix); }

std::string keptFileName(const std::string& path, int attempt) {
  const std::string folder = platform::parentFolder(path);
  const std::string name = platform::baseNameOf(path);
  const std::string stem = platform::removeExtension(name);
  const std::string extension = name.substr(stem.size());
  const std::string mark = attempt <= 1 ? "_PART" : "_PART" + std::to_string(attempt);
  return platform::joinPath(folder, stem + mark + extension);
}

ReceivedDataSaver::ReceivedDataSaver(SaveMode mode, SaveOptions options)
    : mode_(mode), options_(std::move(options)) {}

ReceivedDataSaver::~ReceivedDataSaver() = default;

bool ReceivedDataSaver::fail(const std::string& what, int err) {
  error_ = what;
  if (err != 0) error_ += ": " + std::string(std::strerror(err));
  return false;
}

bool ReceivedDataSaver::createWorkingCopy(const std::string& path) {
  outputFile_ = path; // named even when it fails, for the log
  working_ = false;
  if (platform::isDirectory(path)) return fail(path + " is a folder", 0);
  if (platform::isReadOnlyFile(path)) return fail(path + " is read-only", 0);
  const std::string working = workingCopyPath(path);
  std::FILE* f = std::fopen(working.c_str(), "wb");
  if (!f) return fail("cannot create " + working, errno);
  if (std::fclose(f) != 0) return fail("cannot create " + working, errno);
  working_ = true;
  return true;
}

bool ReceivedDataSaver::startByName(const std::string& path) { return createWorkingCopy(path); }

void ReceivedDataSaver::addLine(const std::string& line) {
  view_ += line;
  view_ += "\r\n";
  if (onViewLine) onViewLine(line);
}

bool ReceivedDataSaver::writeOut() {
  if (!working_) return fail("no output file yet: no program header has arrived", 0);
  const std::string working = workingCopyPath(outputFile_);
  // "r+" and not "a": the file must still be there, as this reception left it.
  std::FILE* f = std::fopen(working.c_str(), "r+b");
  if (!f) return fail("cannot open " + working, errno);
  bool ok = std::fseek(f, 0, SEEK_END) == 0;
  if (ok && !view_.empty()) ok = std::fwrite(view_.data(), 1, view_.size(), f) == view_.size();
  int err = ok ? 0 : errno;
  if (std::fclose(f) != 0 && ok) {
    ok = false;
    err = errno;
  }
  if (!ok) return fail("cannot write " + working, err);
  view_.clear();
  if (onViewEmptied) onViewEmptied();
  return true;
}

bool ReceivedDataSaver::putInPlace() {
  // It may have been made read-only while the program came in.
  if (platform::isReadOnlyFile(outputFile_)) return fail(outputFile_ + " is read-only", 0);
  if (options_.beforePutInPlace && !options_.beforePutInPlace(outputFile_))
    return fail("cannot put " + outputFile_ + " in place: the older file could not be kept", 0);
  std::error_code ec;
  std::filesystem::rename(workingCopyPath(outputFile_), outputFile_, ec);
  if (ec) return fail("cannot put " + outputFile_ + " in place: " + ec.message(), 0);
  working_ = false;
  return true;
}

bool ReceivedDataSaver::beginProgram(const std::string& header) {
  if (programCount_ > 0) {
    if (options_.percentLast) addLine("%");
    if (!writeOut() || !putInPlace()) return false;
  }
  const std::string name = programFileName(header, programCount_ + 1, options_.numbered, options_.extension);
  if (!createWorkingCopy(platform::joinPath(options_.dataFolder, name))) return false;
  // The first program's "%" line is already at the top of the view: the
  // reception put it there when it started.
  if (options_.percentFirst && programCount_ > 0) addLine("%");
  ++programCount_;
  return true;
}

bool ReceivedDataSaver::finish() { return writeOut() && putInPlace(); }

void ReceivedDataSaver::discard() {
  if (!working_) return;
  std::remove(workingCopyPath(outputFile_).c_str());
  working_ = false;
}

std::string ReceivedDataSaver::keepWhatArrived(const std::string& lastLine) {
  if (!working_) return "";
  if (!lastLine.empty()) addLine(lastLine);
  writeOut(); // as far as the disk allows: what did not fit is lost, the rest is kept
  working_ = false;
  const std::string working = workingCopyPath(outputFile_);
  std::error_code ec;
  if (std::filesystem::file_size(working, ec) == 0 || ec) {
    // Nothing of the program reached it: there is nothing to keep.
    std::remove(working.c_str());
    return "";
  }
  for (int attempt = 1; attempt < 1000; ++attempt) {
    const std::string kept = keptFileName(outputFile_, attempt);
    const int err = platform::renameNoReplace(working, kept);
    if (err == 0) return kept;
    if (err != EEXIST) break;
  }
  return working; // no other name could be had: it stays as it was written
}

} // namespace kestrovan::serial
