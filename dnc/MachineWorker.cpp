#include "dnc/MachineWorker.h"

#include "dnc/MachineStatus.h"
#include "dnc/OlderFiles.h"
#include "dnc/ServiceScreen.h"
#include "platform/Cp932.h"
#include "platform/Paths.h"
#include "serial/Line.h"
#include "serial/ReceiveJob.h"
#include "serial/SendJob.h"

#include <cerrno>
#include <chrono>
#include <cstdio>
#include <filesystem>
#include <fstream>
#include <iterator>

namespace kestrovan::dnc {
namespace {

std::string readFile(const std::string& path) {
  std::ifstream in(path, std::ios::binary);
  return std::string((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
}

// Bytes a controller sends between transfers that begin no reception: its
// DC1 while it waits to read, DC3, DC4, and the other device controls.
bool isFlowByte(unsigned char b) { return (b & 0x7F) >= 0x11 && (b & 0x7F) <= 0x14; }

bool isAbsence(int error) { return error == ENOENT || error == ENODEV || error == ENXIO; }

std::string timeText(const platform::CivilTime& t) {
  char text[32];
  std::snprintf(text, sizeof text, "%04d/%02d/%02d %02d:%02d:%02d", t.year, t.month, t.day, t.hour, t.minute,
                t.second);
  return text;
}

} // namespace

base::SettingsRecord machineSettings(const MachineConfig& m) {
  base::SettingsRecord s = base::defaultSettings(m.receiveFolder);
  s.Port = "COM1"; // the held line answers whatever number the transfer asks for
  s.Speed = m.speed;
  s.DirPath = m.receiveFolder;
  s.Mask = "*.NC";
  s.Signal = "Y";
  s.Add_No = "N";
  s.StartChar = m.startChar;
  s.StartChar_Type = m.startCharType;
  s.EndChar = m.endChar;
  s.EndChar_Type = m.endCharType;
  s.Send_Before = m.sendBefore;
  s.DC3_0X93 = m.dc3x93;
  switch (m.code) {
  case ReceiveCode::Iso:
    s.R_Code = 1;
    s.Code = "N";
    break;
  case ReceiveCode::Eia:
    s.R_Code = 2;
    s.Code = "Y";
    break;
  case ReceiveCode::Auto:
    s.R_Code = 0;
    s.Code = "N"; // a send answers in the code the request came in
    break;
  }
  return s;
}

MachineWorker::MachineWorker(MachineConfig config, WorkerContext context)
    : config_(std::move(config)), context_(std::move(context)), settings_(machineSettings(config_)),
      log_(platform::joinPath(context_.logFolder, config_.name + ".log"), clock_) {}

MachineWorker::~MachineWorker() {
  requestStop();
  join();
}

void MachineWorker::start() {
  context_.board.add({config_.name, config_.port, "starting", "", "", ""});
  thread_ = std::thread([this] { run(); });
}

void MachineWorker::join() {
  if (thread_.joinable()) thread_.join();
}

void MachineWorker::say(const std::string& text) {
  if (context_.journal) context_.journal(config_.name + ": " + text);
}

void MachineWorker::waitSeconds(int seconds) {
  const auto until = std::chrono::steady_clock::now() + std::chrono::seconds(seconds);
  while (!stop_ && std::chrono::steady_clock::now() < until)
    std::this_thread::sleep_for(std::chrono::milliseconds(serial::kWaitSliceMs));
}

bool MachineWorker::holdLine() {
  const int error = held_.hold(config_.device, config_.speed, config_.dc3x93 == "Y");
  if (error == 0) {
    lastProblem_.clear();
    say("line held on " + config_.device);
    return true;
  }
  const std::string state = isAbsence(error) ? "absent" : "error";
  const std::string reason = config_.device + ": " + openErrorText(error);
  context_.board.setState(config_.name, state, reason);
  if (reason != lastProblem_)
    say(state + " (" + reason + "); trying again every " + std::to_string(context_.retrySeconds) + " s");
  lastProblem_ = reason;
  return false;
}

void MachineWorker::lineLost() {
  held_.release();
  lastProblem_ = config_.device + ": the line hung up (cable, adapter or controller gone)";
  context_.board.setState(config_.name, "error", lastProblem_);
  say("error (" + lastProblem_ + "); trying again every " + std::to_string(context_.retrySeconds) + " s");
}

void MachineWorker::run() {
  while (!stop_) {
    if (!held_.holding() && !holdLine()) {
      waitSeconds(context_.retrySeconds);
      continue;
    }
    context_.board.setState(config_.name, "waiting");
    const platform::ReadResult r = held_.readIdle();
    if (r.status == platform::ReadStatus::Failed) {
      lineLost();
      waitSeconds(context_.retrySeconds);
      continue;
    }
    if (r.status != platform::ReadStatus::Byte || isFlowByte(r.byte)) continue;
    held_.handBack(r.byte);
    receive();
  }
  held_.release();
  context_.board.setState(config_.name, "stopped");
}

std::uintmax_t MachineWorker::logSize() const {
  std::error_code ec;
  const std::uintmax_t size = std::filesystem::file_size(log_.path(), ec);
  return ec ? 0 : size;
}

// The entries the last transfer added to the machine's log, to the journal
// and the status.
void MachineWorker::journalNewEntries(std::uintmax_t from) {
  std::ifstream in(log_.path(), std::ios::binary);
  // A log the transfer began has its header first: that is no transfer.
  const std::string header = platform::utf8ToCp932(serial::transferLogHeader());
  if (from == 0) {
    std::string start(header.size(), '\0');
    in.read(start.data(), static_cast<std::streamsize>(start.size()));
    if (start != header)
      from = 0;
    else
      from = header.size();
    in.clear();
  }
  in.seekg(static_cast<std::streamoff>(from));
  std::string line;
  while (std::getline(in, line)) {
    if (line.empty()) continue;
    const std::string text = platform::cp932ToUtf8(line);
    say(text);
    context_.board.setLastTransfer(config_.name, text, timeText(clock_.now()));
  }
}

void MachineWorker::receive() {
  ServiceScreen screen(stop_, [this](const std::string& state, const std::string& reason) {
    context_.board.setState(config_.name, state, reason);
  });
  serial::Line line(settings_, held_, screen, screen);
  std::vector<std::string> saved;
  serial::ReceiveRequest request;
  request.mode = serial::SaveMode::PerProgramNumber;
  request.keepUnfinishedOnStop = true;
  request.beforePutInPlace = [&](const std::string& path) {
    std::string error;
    if (!keepOlderFile(path, clock_.now(), error)) {
      say(error);
      return false;
    }
    saved.push_back(path);
    return true;
  };
  const std::uintmax_t mark = logSize();
  const serial::ReceiveOutcome outcome = serial::ReceiveJob(settings_, line, screen, log_).run(request);
  const serial::CodeFlags detected = line.state.code;
  line.close();
  journalNewEntries(mark);
  if (outcome.end == serial::ReceiveEnd::Failed && !outcome.detail.empty()) say(outcome.detail);
  if (outcome.lineLost) {
    lineLost();
    return;
  }

  std::vector<RequestedProgram> wanted;
  for (const std::string& path : saved) {
    const std::string text = readFile(path);
    if (firstProgramNumber(text) != config_.request) continue;
    // A request is no program to keep.
    std::remove(path.c_str());
    for (RequestedProgram& p : requestedPrograms(text))
      wanted.push_back(std::move(p));
    if (wanted.empty()) say("a request that names no program: " + platform::cp932ToUtf8(text));
  }
  if (!wanted.empty() && !stop_) answer(wanted, detected);
}

void MachineWorker::answer(const std::vector<RequestedProgram>& wanted, serial::CodeFlags detected) {
  namespace fs = std::filesystem;
  const fs::path work = fs::path(config_.receiveFolder) / kWorkFolderName;
  std::vector<std::string> files; // from the root: the send's folder is "/"
  std::vector<std::string> made;
  std::string names;
  for (const RequestedProgram& p : wanted) {
    std::string path = findProgramFile(config_.sendFolder, p);
    if (path.empty()) {
      std::error_code ec;
      fs::create_directories(work, ec);
      path = (work / ("NOTFOUND-" + p.label + ".NC")).string();
      std::ofstream(path, std::ios::binary | std::ios::trunc) << notFoundProgram(p);
      made.push_back(path);
      say("requested " + p.label + " is not in " + config_.sendFolder + ": answered NOT FOUND");
    }
    names += (names.empty() ? "" : " ") + p.label;
    files.push_back(path.substr(1));
  }
  say("request for " + names + ": waiting for the controller's DC1");

  base::SettingsRecord settings = settings_;
  settings.DirPath = "/";
  if (config_.code == ReceiveCode::Auto) settings.Code = detected.eia && !detected.iso ? "Y" : "N";
  ServiceScreen screen(stop_, [this](const std::string& state, const std::string& reason) {
    context_.board.setState(config_.name, state, reason);
  });
  screen.setStartDeadline(std::chrono::steady_clock::now() + std::chrono::seconds(kRequestAnswerWaitSeconds));
  serial::Line line(settings, held_, screen, screen);
  std::string pendingSend = "N";
  const std::uintmax_t mark = logSize();
  // Only the controller's DC1 starts the answer: a "%" is the head of a
  // program the operator punched instead, which belongs to the receive path.
  serial::SendJob job({settings, line, screen, screen, screen, log_, screen, pendingSend},
                      {.files = files, .marked = true, .exitAfterTransfer = false, .startOnDc1Only = true});
  job.loadFirstFile();
  const serial::SendResult result = job.run();
  line.close();
  for (const std::string& path : made)
    std::remove(path.c_str());
  std::error_code ec;
  fs::remove(work, ec); // when empty
  journalNewEntries(mark);
  if (result.punchedBeforeStart) {
    held_.handBack(*result.punchedBeforeStart);
    say("the controller punched a program while the request for " + names +
        " waited for its DC1: the request is dropped and the program received");
  }
  if (result.lineLost) lineLost();
}

} // namespace kestrovan::dnc
