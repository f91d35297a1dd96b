// kestrovan-dnc: the DNC service (see --help and docs/dnc.md).

#include "base/SettingsRecord.h"
#include "dnc/DncConfig.h"
#include "dnc/MachineStatus.h"
#include "dnc/Service.h"
#include "platform/AtomicFile.h"
#include "platform/IniFile.h"
#include "platform/Paths.h"
#include "platform/PortNames.h"
#include "platform/ProgramFolder.h"

#include <csignal>
#include <cstdio>
#include <cstdlib>
#include <ctime>
#include <filesystem>
#include <iostream>
#include <mutex>
#include <pthread.h>
#include <string>
#include <vector>

using namespace kestrovan;

namespace {

constexpr const char* kHelp = R"help(kestrovan-dnc: serves the NC machines of a configuration file at once.

  kestrovan-dnc [--config FILE]   run until SIGTERM/SIGINT; SIGHUP reloads FILE
  kestrovan-dnc [--config FILE] --status
                                  what each machine of the running service does
  kestrovan-dnc --help

FILE defaults to dnc.ini in the program folder. For each [Machine NAME]
section the line is held; what the controller punches is saved into its
ReceiveFolder, and a punched request program (its number is Request, its
comment names the programs, "O9999 (O1234)") is answered by sending those
programs from its SendFolder once the controller sends DC1. Every transfer
goes to NAME.log in the log folder and, as one line, to standard error.
)help";

std::mutex gJournalMutex;

void journal(const std::string& line) {
  std::lock_guard lock(gJournalMutex);
  const std::string text = "kestrovan-dnc: " + line + "\n";
  std::fwrite(text.data(), 1, text.size(), stderr);
  std::fflush(stderr);
}

struct Paths {
  std::string config;
  std::string mainSettings;
};

Paths defaultPaths(const char* argv0) {
  platform::ExecutableInfo exe = platform::currentExecutable(argv0);
  // The main program's folder and settings: its [Ports] map COMn to devices.
  exe.fileName = "kestrovan";
  const std::string folder = platform::programFolder(exe);
  return {platform::joinPath(folder, "dnc.ini"), base::settingsFilePath(folder, "kestrovan")};
}

dnc::ConfigParse load(const std::string& configPath, const std::string& mainSettings) {
  const platform::IniFile ini = platform::IniFile::load(mainSettings);
  dnc::ConfigContext context;
  context.comDevice = [&ini](int number) { return platform::portDevice(number, ini); };
  return dnc::loadDncConfig(configPath, context);
}

std::string statusFileOf(const dnc::ServiceConfig& config) {
  return config.statusFile.empty() ? dnc::defaultStatusFile() : config.statusFile;
}

std::string logFolderOf(const dnc::ServiceConfig& config, const std::string& configPath) {
  if (!config.logFolder.empty()) return config.logFolder;
  if (const char* logs = std::getenv("LOGS_DIRECTORY"); logs && *logs) return logs;
  std::error_code ec; // a working folder that is gone leaves the path as given
  const std::filesystem::path absolute = std::filesystem::absolute(configPath, ec);
  return platform::parentFolder(ec ? configPath : absolute.string());
}

int showStatus(const dnc::ServiceConfig& config) {
  const std::string path = statusFileOf(config);
  platform::FileContents read = platform::readWholeFile(path);
  if (!read.ok) {
    std::cerr << "kestrovan-dnc: the service is not running (no status in " << path << ")\n";
    return 1;
  }
  std::cout << dnc::statusTable(dnc::parseStatusFile(read.bytes));
  return 0;
}

int serve(const std::string& configPath, const std::string& mainSettings, dnc::ServiceConfig config) {
  // Signals are taken here, on this thread, one at a time; the workers never see them.
  sigset_t signals;
  sigemptyset(&signals);
  sigaddset(&signals, SIGTERM);
  sigaddset(&signals, SIGINT);
  sigaddset(&signals, SIGHUP);
  pthread_sigmask(SIG_BLOCK, &signals, nullptr);
  std::signal(SIGPIPE, SIG_IGN);

  const std::string statusPath = statusFileOf(config);
  dnc::Service service(logFolderOf(config, configPath), journal);
  journal("serving " + std::to_string(config.machines.size()) + " machines from " + configPath);
  service.start(config);
  std::uint64_t written = ~std::uint64_t{0};
  for (;;) {
    const std::uint64_t version = service.board().version();
    if (version != written) {
      if (!dnc::writeStatusFile(statusPath, service.board().snapshot()))
        journal("cannot write the status file " + statusPath);
      written = version;
    }
    timespec wait{0, 200'000'000};
    const int sig = sigtimedwait(&signals, nullptr, &wait);
    if (sig == SIGTERM || sig == SIGINT) {
      journal("stopping");
      service.stop();
      // No status, no service: --status tells the service is not running.
      std::remove(statusPath.c_str());
      journal("stopped");
      return 0;
    }
    if (sig == SIGHUP) {
      dnc::ConfigParse parsed = load(configPath, mainSettings);
      if (parsed.error) {
        journal("not reloaded, the running configuration stays: " + parsed.error->text());
        continue;
      }
      const std::vector<std::string> started = service.reload(*parsed.config);
      std::string names;
      for (const std::string& n : started)
        names += " " + n;
      journal("reloaded; restarted:" + (names.empty() ? std::string(" none") : names));
    }
  }
}

} // namespace

int main(int argc, char** argv) {
  Paths paths = defaultPaths(argc > 0 ? argv[0] : "kestrovan-dnc");
  bool status = false;
  for (int i = 1; i < argc; ++i) {
    const std::string a = argv[i];
    if (a == "--help" || a == "-h") {
      std::cout << kHelp;
      return 0;
    } else if (a == "--status") {
      status = true;
    } else if (a == "--config" && i + 1 < argc) {
      paths.config = argv[++i];
    } else {
      std::cerr << "kestrovan-dnc: unknown argument " << a << " (--help lists them)\n";
      return 2;
    }
  }
  dnc::ConfigParse parsed = load(paths.config, paths.mainSettings);
  if (parsed.error) {
    std::cerr << "kestrovan-dnc: " << parsed.error->text() << "\n";
    return 2;
  }
  if (status) return showStatus(*parsed.config);
  return serve(paths.config, paths.mainSettings, std::move(*parsed.config));
}
