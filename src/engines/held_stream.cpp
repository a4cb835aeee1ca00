#include "engines/held_stream.h"

#include <QList>
#include <poll.h>
#include <sys/eventfd.h>
#include <unistd.h>

#include <cerrno>
#include <cstring>

namespace {

// The body's start kept for reads that come back to it: enough for the
// heads of containers, little beside the engine's own buffers.
constexpr qint64 kKeptBytes = 256 * 1024;
constexpr qsizetype kMaxRangeHead = 16 * 1024;

bool wouldBlock() { return errno == EAGAIN || errno == EWOULDBLOCK || errno == EINTR; }

void closeConnection(int& fd) {
  if (fd >= 0) close(fd);
  fd = -1;
}

// The offset a 206 answer's head says its body starts at; -1 for any other answer.
qint64 rangeStartOf(const QByteArray& head) {
  const QList<QByteArray> lines = head.split('\n');
  const QList<QByteArray> status = lines.value(0).simplified().split(' ');
  if (!status.value(0).startsWith("HTTP/") || status.value(1) != "206") return -1;
  for (const QByteArray& line : lines) {
    const QByteArray lower = line.trimmed().toLower();
    if (!lower.startsWith("content-range:")) continue;
    const QByteArray range = lower.mid(14).trimmed();
    if (!range.startsWith("bytes ")) return -1;
    bool ok = false;
    const qint64 start = range.mid(6).split('-').first().trimmed().toLongLong(&ok);
    return ok ? start : -1;
  }
  return -1;
}

}  // namespace

std::shared_ptr<HeldStream> HeldStream::hold(int fd, Answer answer) {
  const int wake = eventfd(0, EFD_CLOEXEC | EFD_NONBLOCK);
  if (wake < 0) {
    close(fd);
    return nullptr;
  }
  return std::shared_ptr<HeldStream>(new HeldStream(fd, wake, std::move(answer)));
}

HeldStream::HeldStream(int fd, int wake, Answer answer)
    : m_wake(wake), m_size(answer.size), m_request(std::move(answer.request)) {
  m_first.fd = fd;
  m_first.pending = std::move(answer.start);
  m_peerLength = sizeof m_peer;
  m_rangeable = m_size >= 0 && m_request.endsWith("\r\n\r\n") &&
                getpeername(fd, reinterpret_cast<sockaddr*>(&m_peer), &m_peerLength) == 0;
}

HeldStream::~HeldStream() {
  closeConnection(m_first.fd);
  closeConnection(m_ranged.fd);
  close(m_wake);
}

qint64 HeldStream::read(char* buffer, qint64 size) {
  if (m_cancelled || size <= 0) return -1;
  if (m_size >= 0) {
    if (m_offset >= m_size) return 0;
    size = std::min(size, m_size - m_offset);
  }
  qint64 n;
  if (m_offset < m_kept.size()) {
    n = std::min<qint64>(size, m_kept.size() - m_offset);
    std::memcpy(buffer, m_kept.constData() + m_offset, static_cast<size_t>(n));
  } else {
    Connection* c = connectionHere();
    n = c ? readFrom(*c, buffer, size) : -1;
  }
  if (n > 0) m_offset += n;
  return n;
}

bool HeldStream::seek(qint64 offset) {
  if (offset == m_offset) return true;
  if (!m_rangeable || offset < 0 || offset > m_size) return false;
  m_offset = offset;
  return true;
}

void HeldStream::cancel() {
  m_cancelled = true;
  eventfd_write(m_wake, 1);
}

HeldStream::Connection* HeldStream::connectionHere() {
  if (m_first.fd >= 0 && m_first.offset == m_offset) return &m_first;
  if (m_ranged.fd >= 0 && m_ranged.offset == m_offset) return &m_ranged;
  if (!m_rangeable) return nullptr;
  if (askFrom(m_offset)) return &m_ranged;
  // A server that failed a range is not asked for another.
  closeConnection(m_ranged.fd);
  m_rangeable = false;
  return nullptr;
}

bool HeldStream::askFrom(qint64 offset) {
  closeConnection(m_ranged.fd);
  m_ranged = {};
  const auto* peer = reinterpret_cast<const sockaddr*>(&m_peer);
  m_ranged.fd = socket(peer->sa_family, SOCK_STREAM | SOCK_NONBLOCK | SOCK_CLOEXEC, 0);
  if (m_ranged.fd < 0) return false;
  if (connect(m_ranged.fd, peer, m_peerLength) < 0 && errno != EINPROGRESS) return false;
  int error = 0;
  socklen_t length = sizeof error;
  if (!waitFor(m_ranged.fd, POLLOUT) ||
      getsockopt(m_ranged.fd, SOL_SOCKET, SO_ERROR, &error, &length) < 0 || error != 0)
    return false;
  const QByteArray request =
      m_request.chopped(2) + "Range: bytes=" + QByteArray::number(offset) + "-\r\n\r\n";
  for (qsizetype sent = 0; sent < request.size();) {
    if (!waitFor(m_ranged.fd, POLLOUT)) return false;
    const ssize_t n = send(m_ranged.fd, request.constData() + sent,
                           static_cast<size_t>(request.size() - sent), MSG_NOSIGNAL);
    if (n < 0 && !wouldBlock()) return false;
    sent += std::max<ssize_t>(n, 0);
  }
  return readRangeHead(m_ranged, offset);
}

bool HeldStream::readRangeHead(Connection& c, qint64 offset) {
  QByteArray head;
  char buffer[4096];
  while (head.size() < kMaxRangeHead) {
    if (!waitFor(c.fd, POLLIN)) return false;
    const ssize_t n = recv(c.fd, buffer, sizeof buffer, 0);
    if (n == 0 || (n < 0 && !wouldBlock())) return false;
    head.append(buffer, std::max<ssize_t>(n, 0));
    const qsizetype end = head.indexOf("\r\n\r\n");
    if (end < 0) continue;
    c.offset = offset;
    c.pending = head.mid(end + 4);
    return rangeStartOf(head.left(end)) == offset;
  }
  return false;
}

qint64 HeldStream::readFrom(Connection& c, char* buffer, qint64 size) {
  qint64 n = std::min<qint64>(size, c.pending.size());
  if (n > 0) {
    std::memcpy(buffer, c.pending.constData(), static_cast<size_t>(n));
    c.pending.remove(0, n);
  } else {
    for (;;) {
      if (!waitFor(c.fd, POLLIN)) return -1;
      n = recv(c.fd, buffer, static_cast<size_t>(size), 0);
      if (n >= 0) break;
      if (!wouldBlock()) return -1;
    }
  }
  keep(c, buffer, n);
  c.offset += n;
  m_received += n;
  return n;
}

void HeldStream::keep(const Connection& c, const char* bytes, qint64 n) {
  if (m_rangeable && c.offset == m_kept.size() && m_kept.size() + n <= kKeptBytes)
    m_kept.append(bytes, n);
}

bool HeldStream::waitFor(int fd, short events) {
  pollfd waits[2] = {{fd, events, 0}, {m_wake, POLLIN, 0}};
  while (!m_cancelled) {
    if (poll(waits, 2, -1) < 0) {
      if (errno == EINTR) continue;
      return false;
    }
    if (waits[1].revents) return false;
    if (waits[0].revents) return true;
  }
  return false;
}
