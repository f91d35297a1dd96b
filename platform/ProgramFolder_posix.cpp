#include "platform/ProgramFolder.h"

#include "platform/Paths.h"

#include <climits>
#include <cstdlib>
#include <pwd.h>
#include <unistd.h>

namespace kestrovan::platform {
namespace {
std::optional<std::string> env(const char* name) {
  const char* v = std::getenv(name);
  if (!v || !*v) return std::nullopt;
  return std::string(v);
}
} // namespace

std::string ExecutableInfo::baseName() const { return removeExtension(fileName); }

ExecutableInfo currentExecutable(const char* argv0) {
  ExecutableInfo info;
  info.fileName = baseNameOf(argv0 ? argv0 : "kestrovan");
  char buffer[PATH_MAX];
  ssize_t n = readlink("/proc/self/exe", buffer, sizeof buffer - 1);
  if (n > 0) {
    info.folder = parentFolder(std::string(buffer, static_cast<size_t>(n)));
  } else {
    char* real = argv0 ? realpath(argv0, nullptr) : nullptr;
    info.folder = real ? parentFolder(real) : std::string(".");
    std::free(real);
  }
  return info;
}

bool isInstalledProgramFolder(const std::string& folder) {
  const std::string f = stripTrailingSeparator(folder);
#ifdef KESTROVAN_INSTALL_BINDIR
  if (f == stripTrailingSeparator(KESTROVAN_INSTALL_BINDIR)) return true;
#endif
  for (const char* system : {"/usr/bin", "/bin", "/usr/local/bin", "/usr/sbin", "/sbin", "/usr/local/sbin"})
    if (f == system) return true;
  return false;
}

std::string chooseProgramFolder(const ProgramFolderInputs& in) {
  if (in.kestrovanHome) return stripTrailingSeparator(*in.kestrovanHome);
  // A build tree or a folder of its own keeps the files beside the program;
  // an installed program is shared by every user of the machine, root too.
  if (in.executableFolderWritable && !isInstalledProgramFolder(in.executableFolder))
    return in.executableFolder;
  const std::string config = in.xdgConfigHome ? *in.xdgConfigHome : joinPath(in.home, ".config");
  return joinPath(stripTrailingSeparator(config), "kestrovan");
}

std::string programFolder(const ExecutableInfo& exe) {
  ProgramFolderInputs in;
  in.kestrovanHome = env("KESTROVAN_HOME");
  in.executableFolder = exe.folder;
  in.executableFolderWritable = access(exe.folder.c_str(), W_OK) == 0;
  in.xdgConfigHome = env("XDG_CONFIG_HOME");
  in.home = homeFolder();
  std::string folder = chooseProgramFolder(in);
  if (!isDirectory(folder)) createFolderPath(folder);
  return folder;
}

std::string homeFolder() {
  if (auto h = env("HOME")) return stripTrailingSeparator(*h);
  if (const passwd* pw = getpwuid(getuid()); pw && pw->pw_dir && *pw->pw_dir)
    return stripTrailingSeparator(pw->pw_dir);
  return "/";
}

} // namespace kestrovan::platform
