#include "app/TerminationSignals.h"

#include <QSocketNotifier>

#include <csignal>
#include <fcntl.h>
#include <sys/socket.h>
#include <unistd.h>

namespace kestrovan::app {
namespace {
int pipeFds[2] = {-1, -1};

void handler(int sig) {
  const char c = static_cast<char>(sig);
  [[maybe_unused]] ssize_t n = write(pipeFds[1], &c, 1);
}
} // namespace

TerminationSignals::TerminationSignals() {
  if (socketpair(AF_UNIX, SOCK_STREAM | SOCK_CLOEXEC | SOCK_NONBLOCK, 0, pipeFds) != 0) return;
  struct sigaction sa {};
  sa.sa_handler = handler;
  sigemptyset(&sa.sa_mask);
  sa.sa_flags = SA_RESTART;
  sigaction(SIGTERM, &sa, nullptr);
  sigaction(SIGINT, &sa, nullptr);
  sigaction(SIGHUP, &sa, nullptr);
}

void TerminationSignals::deliverTo(std::function<void()> onSignal) {
  onSignal_ = std::move(onSignal);
  if (pipeFds[0] < 0) return;
  notifier_ = std::make_unique<QSocketNotifier>(pipeFds[0], QSocketNotifier::Read);
  QObject::connect(notifier_.get(), &QSocketNotifier::activated, [this] {
    char buffer[16];
    while (read(pipeFds[0], buffer, sizeof buffer) > 0) {
    }
    if (onSignal_) onSignal_();
  });
}

TerminationSignals::~TerminationSignals() {
  signal(SIGTERM, SIG_DFL);
  signal(SIGINT, SIG_DFL);
  signal(SIGHUP, SIG_DFL);
  notifier_.reset();
  for (int& fd : pipeFds) {
    if (fd >= 0) close(fd);
    fd = -1;
  }
}

} // namespace kestrovan::app
