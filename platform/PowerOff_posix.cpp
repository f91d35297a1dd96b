#include "platform/PowerOff.h"

#include <spawn.h>
#include <sys/wait.h>

extern char** environ;

namespace kestrovan::platform {

bool SystemPowerOff::requestPowerOff() {
  char program[] = "systemctl";
  char verb[] = "poweroff";
  char* argv[] = {program, verb, nullptr};
  pid_t pid = -1;
  if (posix_spawnp(&pid, program, nullptr, nullptr, argv, environ) != 0) return false;
  int status = 0;
  if (waitpid(pid, &status, 0) != pid) return false;
  return WIFEXITED(status) && WEXITSTATUS(status) == 0;
}

} // namespace kestrovan::platform
