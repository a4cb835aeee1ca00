#include "gui/termination_signals.h"

#include <sys/socket.h>
#include <unistd.h>

#include <QSocketNotifier>
#include <csignal>

namespace {

int g_fds[2] = {-1, -1};

// Runs in the signal handler: only writes a byte.
void notify(int) {
  const char byte = 1;
  [[maybe_unused]] const auto written = ::write(g_fds[0], &byte, 1);
}

constexpr int kSignals[] = {SIGTERM, SIGINT};

}  // namespace

TerminationSignals::TerminationSignals(std::function<void()> onSignal, QObject* parent)
    : QObject(parent), m_onSignal(std::move(onSignal)) {
  if (::socketpair(AF_UNIX, SOCK_STREAM, 0, g_fds) != 0) return;
  m_notifier = new QSocketNotifier(g_fds[1], QSocketNotifier::Read, this);
  connect(m_notifier, &QSocketNotifier::activated, this, [this] {
    char byte = 0;
    [[maybe_unused]] const auto read = ::read(g_fds[1], &byte, 1);
    m_onSignal();
  });
  struct sigaction action = {};
  action.sa_handler = notify;
  sigemptyset(&action.sa_mask);
  action.sa_flags = SA_RESTART;
  for (int s : kSignals) sigaction(s, &action, nullptr);
}

TerminationSignals::~TerminationSignals() {
  for (int s : kSignals) std::signal(s, SIG_DFL);
  delete m_notifier;
  for (int& fd : g_fds) {
    if (fd >= 0) ::close(fd);
    fd = -1;
  }
}
