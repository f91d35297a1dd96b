#include "nctools/SplitPrograms.h"

#include "nctools/OutputNames.h"
#include "platform/IniFile.h"
#include "platform/Paths.h"
#include "platform/StagedFile.h"
#include "serial/ProgramFile.h"

#include <cerrno>
#include <memory>

namespace kestrovan::nctools {
namespace {

bool opensProgram(std::string_view line) {
  return !line.empty() && (line[0] == 'O' || line[0] == ':' || line[0] == 'L');
}

class Splitter {
public:
  Splitter(const SplitRequest& request, OutputFiles& outputs) : request_(request), outputs_(outputs) {}

  // False when the file it opens cannot be made.
  bool beginProgram(std::string_view header) {
    if (current_ && !finishProgram()) return false;
    ++programs_;
    const std::string name = splitFileName(header, programs_, request_.options.N_Set, request_.extension);
    path_ = platform::joinPath(request_.folder, name);
    // A dump named after its first program, split into its own folder,
    // would otherwise be replaced by that program alone.
    if (!request_.source.empty() && platform::sameFile(path_, request_.source)) return fail(EACCES);
    current_ = outputs_.create(path_);
    if (current_->error() != 0) return fail();
    // The lines before the first program, then its "%" line.
    if (!pending_.empty() && !current_->append(pending_)) return fail();
    pending_.clear();
    if (request_.options.F_Set) return addLine("%");
    return true;
  }

  bool addLine(std::string_view line) {
    if (!current_) {
      pending_.append(line).append("\r\n");
      return true;
    }
    out_.append(line).append("\r\n");
    // Written in pieces, so that a long program never waits whole in memory.
    if (out_.size() >= kFlushBytes && !flush()) return fail();
    return true;
  }

  bool finishProgram() {
    if (request_.options.B_Set) out_ += "%\r\n";
    if (!flush() || !current_->commit()) return fail();
    result.files.push_back(path_);
    current_.reset();
    return true;
  }

  bool started() const { return programs_ > 0; }
  // The unfinished file goes; the finished ones stay.
  SplitResult stop() {
    current_.reset();
    result.end = SplitEnd::Stopped;
    return result;
  }
  SplitResult result;

private:
  static constexpr std::size_t kFlushBytes = 1 << 20;

  bool flush() {
    if (out_.empty()) return true;
    if (!current_->append(out_)) return false;
    out_.clear();
    return true;
  }

  bool fail(int error = 0) {
    result.end = SplitEnd::CannotCreate;
    result.failedPath = path_;
    result.error = error != 0 ? error : current_ ? current_->error() : 0;
    current_.reset(); // the unfinished file goes; the finished ones stay
    return false;
  }

  const SplitRequest& request_;
  OutputFiles& outputs_;
  std::unique_ptr<OutputFile> current_;
  std::string path_;
  std::string pending_; // lines before the first program
  std::string out_;     // lines of the current program not yet written
  int programs_ = 0;
};

} // namespace

SplitResult splitPrograms(std::string_view text, const SplitRequest& request, OutputFiles& outputs,
                          const SplitEvents& events) {
  Splitter split(request, outputs);
  serial::ProgramLines lines(text);
  serial::ProgramLine line;
  std::size_t done = 0;
  while (lines.next(line)) {
    if (opensProgram(line.text)) {
      if (events.programFound) events.programFound(std::string(line.text));
      if (!split.beginProgram(line.text)) return split.result;
    }
    if ((line.text.empty() || line.text[0] != '%') && !split.addLine(line.text)) return split.result;
    if (events.progress) events.progress(++done);
    if (events.stopRequested && events.stopRequested()) return split.stop();
  }
  if (!split.started()) return {SplitEnd::NoProgram, {}, {}, 0};
  if (!split.finishProgram()) return split.result;
  split.result.end = SplitEnd::Done;
  return split.result;
}

SplitOptions loadSplitOptions(const std::string& path) {
  const platform::IniFile ini = platform::IniFile::load(path);
  return {ini.readInteger("Sub", "F_Set", 0) != 0, ini.readInteger("Sub", "B_Set", 0) != 0,
          ini.readInteger("Sub", "N_Set", 0) != 0};
}

bool saveSplitOptions(const std::string& path, const SplitOptions& options) {
  platform::IniFile ini = platform::IniFile::load(path);
  ini.writeString("Sub", "F_Set", options.F_Set ? "1" : "0");
  ini.writeString("Sub", "B_Set", options.B_Set ? "1" : "0");
  ini.writeString("Sub", "N_Set", options.N_Set ? "1" : "0");
  return ini.save(path);
}

} // namespace kestrovan::nctools
