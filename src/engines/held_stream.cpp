#include "engines/held_stream.h"

#include <poll.h>
#include <sys/eventfd.h>
#include <sys/socket.h>
#include <unistd.h>

#include <cerrno>
#include <cstring>

HeldStream::HeldStream(int fd, QByteArray start)
    : m_fd(fd), m_wake(eventfd(0, EFD_CLOEXEC | EFD_NONBLOCK)), m_start(std::move(start)) {}

HeldStream::~HeldStream() {
  if (m_fd >= 0) close(m_fd);
  if (m_wake >= 0) close(m_wake);
}

qint64 HeldStream::read(char* buffer, qint64 size) {
  if (m_cancelled || size <= 0) return -1;
  if (m_startRead < m_start.size()) {
    const qint64 n = std::min<qint64>(size, m_start.size() - m_startRead);
    std::memcpy(buffer, m_start.constData() + m_startRead, static_cast<size_t>(n));
    m_startRead += n;
    return n;
  }
  pollfd waits[2] = {{m_fd, POLLIN, 0}, {m_wake, POLLIN, 0}};
  while (!m_cancelled) {
    if (poll(waits, m_wake >= 0 ? 2 : 1, -1) < 0) {
      if (errno == EINTR) continue;
      return -1;
    }
    if (waits[1].revents) return -1;
    const ssize_t n = recv(m_fd, buffer, static_cast<size_t>(size), 0);
    if (n >= 0) return n;
    if (errno != EAGAIN && errno != EWOULDBLOCK && errno != EINTR) return -1;
  }
  return -1;
}

void HeldStream::cancel() {
  m_cancelled = true;
  if (m_wake >= 0) eventfd_write(m_wake, 1);
}
