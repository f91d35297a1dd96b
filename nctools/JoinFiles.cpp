#include "nctools/JoinFiles.h"

#include "platform/StagedFile.h"
#include "serial/ProgramFile.h"

namespace kestrovan::nctools {

bool outputIsAnInput(const std::string& outputPath, const std::vector<std::string>& inputPaths) {
  for (const std::string& input : inputPaths)
    if (input == outputPath || platform::sameFile(input, outputPath)) return true;
  return false;
}

JoinResult joinFiles(const std::vector<std::string>& inputPaths, const std::string& outputPath,
                     OutputFiles& outputs, const LoadProgram& load,
                     const std::function<void(std::size_t)>& joining,
                     const std::function<bool()>& stopRequested) {
  std::unique_ptr<OutputFile> out = outputs.create(outputPath);
  if (out->error() != 0) return {JoinEnd::CannotCreate, out->error()};
  std::string text;
  for (std::size_t i = 0; i < inputPaths.size(); ++i) {
    if (joining) joining(i);
    const ToolInput program = load(inputPaths[i]);
    if (program.end == ToolInputEnd::CannotOpen) return {JoinEnd::CannotOpen, 0, i};
    if (program.end == ToolInputEnd::Declined) return {JoinEnd::Declined, 0, i};
    text.clear();
    text.reserve(program.text.size() + program.text.size() / 16);
    serial::ProgramLines lines(program.text);
    serial::ProgramLine line;
    while (lines.next(line))
      text.append(line.text).append("\r\n");
    if (!out->append(text)) return {JoinEnd::CannotWrite, out->error()};
    if (stopRequested && stopRequested()) return {JoinEnd::Stopped, 0};
  }
  if (!out->commit()) return {JoinEnd::CannotWrite, out->error()};
  return {};
}

} // namespace kestrovan::nctools
