// The probe's connection handed to an engine: the bytes the probe read come
// first, then the socket's; a read that waits can be ended from another
// thread; no stream is held that could not be ended; and a finite body is
// read from any byte, asking its server again only for bytes not at hand.
#include <gtest/gtest.h>
#include <arpa/inet.h>
#include <fcntl.h>
#include <netinet/in.h>
#include <sys/resource.h>
#include <sys/socket.h>
#include <sys/syscall.h>
#include <unistd.h>

#include <QFile>
#include <QList>
#include <QMutex>
#include <chrono>
#include <future>
#include <thread>

#include "engines/held_stream.h"
#include "event_loop_wait.h"

namespace {

using namespace std::chrono_literals;

// Everything the stream gives until its end.
QByteArray readToEnd(HeldStream& stream, qint64 chunk) {
  QByteArray all;
  char buffer[64];
  for (qint64 n; (n = stream.read(buffer, chunk)) > 0;) all.append(buffer, n);
  return all;
}

std::shared_ptr<HeldStream> holdPair(int fds[2], const QByteArray& start) {
  EXPECT_EQ(socketpair(AF_UNIX, SOCK_STREAM, 0, fds), 0);
  HeldStream::Answer answer;
  answer.start = start;
  return HeldStream::hold(fds[0], answer);
}

// True while the thread sleeps in poll(): a read that waits for bytes.
bool waitsInPoll(pid_t thread) {
  const QString task = QStringLiteral("/proc/self/task/%1/").arg(thread);
  QFile stat(task + "stat"), call(task + "syscall");
  if (!stat.open(QIODevice::ReadOnly) || !call.open(QIODevice::ReadOnly)) return false;
  const QByteArray state = stat.readAll().split(')').value(1).trimmed().left(1);
  const long number = call.readAll().split(' ').value(0).trimmed().toLong();
#ifdef SYS_poll
  if (number == SYS_poll) return state == "S";
#endif
  return number == SYS_ppoll && state == "S";
}

// The bytes of a body: each position tells its own offset.
QByteArray body(int size) {
  QByteArray b(size, Qt::Uninitialized);
  for (int i = 0; i < size; ++i) b[i] = static_cast<char>((i * 7 + i / 251) & 0xff);
  return b;
}

// An HTTP server on 127.0.0.1 for one body. Its first connection stands for
// the probe's: it sends the body from `sent` on and stays open. Later ones
// get the range they ask for as 206 (or the whole body as 200, for a server
// that says it takes ranges and does not).
class RangeServer {
 public:
  RangeServer(QByteArray body, qsizetype sent, bool ranges = true)
      : m_body(std::move(body)), m_sent(sent), m_ranges(ranges) {
    m_listener = socket(AF_INET, SOCK_STREAM | SOCK_CLOEXEC, 0);
    sockaddr_in address{};
    address.sin_family = AF_INET;
    address.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
    socklen_t length = sizeof address;
    EXPECT_EQ(bind(m_listener, reinterpret_cast<sockaddr*>(&address), length), 0);
    EXPECT_EQ(listen(m_listener, 8), 0);
    getsockname(m_listener, reinterpret_cast<sockaddr*>(&address), &length);
    m_address = address;
    m_accepting = std::thread([this] { accept(); });
  }
  ~RangeServer() {
    shutdown(m_listener, SHUT_RDWR);
    m_accepting.join();
    for (const int fd : std::as_const(m_clients)) shutdown(fd, SHUT_RDWR);
    for (std::thread& t : m_answering) t.join();
    for (const int fd : std::as_const(m_clients)) close(fd);
    close(m_listener);
  }

  // The probe's connection, its head read.
  int connectFirst() {
    const int fd = socket(AF_INET, SOCK_STREAM | SOCK_CLOEXEC, 0);
    EXPECT_EQ(::connect(fd, reinterpret_cast<const sockaddr*>(&m_address), sizeof m_address), 0);
    return fd;
  }
  // The requests after the first, as they came.
  QList<QByteArray> requests() const {
    QMutexLocker lock(&m_mutex);
    return m_requests;
  }

 private:
  void accept() {
    for (bool first = true;; first = false) {
      const int fd = ::accept4(m_listener, nullptr, nullptr, SOCK_CLOEXEC);
      if (fd < 0) return;
      QMutexLocker lock(&m_mutex);
      m_clients << fd;
      m_answering.emplace_back([this, fd, first] {
        first ? sendAll(fd, m_body.mid(m_sent)) : answer(fd);
      });
    }
  }
  void answer(int fd) {
    QByteArray request;
    char buffer[1024];
    while (!request.contains("\r\n\r\n")) {
      const ssize_t n = recv(fd, buffer, sizeof buffer, 0);
      if (n <= 0) return;
      request.append(buffer, n);
    }
    {
      QMutexLocker lock(&m_mutex);
      m_requests << request;
    }
    const qsizetype at = request.indexOf("Range: bytes=");
    const qint64 from = at < 0 ? 0 : request.mid(at + 13).split('-').first().toLongLong();
    const QByteArray size = QByteArray::number(m_body.size());
    if (!m_ranges || at < 0)
      return sendAll(fd, "HTTP/1.1 200 OK\r\nContent-Length: " + size + "\r\n\r\n" + m_body);
    sendAll(fd, "HTTP/1.1 206 Partial Content\r\nContent-Range: bytes " + QByteArray::number(from) +
                    "-" + QByteArray::number(m_body.size() - 1) + "/" + size + "\r\n\r\n" +
                    m_body.mid(from));
    shutdown(fd, SHUT_WR);
  }
  static void sendAll(int fd, const QByteArray& bytes) {
    for (qsizetype sent = 0; sent < bytes.size();) {
      const ssize_t n = send(fd, bytes.constData() + sent, bytes.size() - sent, MSG_NOSIGNAL);
      if (n <= 0) return;
      sent += n;
    }
  }

  const QByteArray m_body;
  const qsizetype m_sent;
  const bool m_ranges;
  int m_listener = -1;
  sockaddr_in m_address{};
  std::thread m_accepting;
  std::vector<std::thread> m_answering;
  mutable QMutex m_mutex;
  QList<int> m_clients;
  QList<QByteArray> m_requests;
};

const QByteArray kRequest = "GET /f HTTP/1.1\r\nHost: 127.0.0.1\r\nReferer: http://a/\r\n\r\n";

// A finite body of a server that takes ranges, the probe having read its first 1000 bytes.
std::shared_ptr<HeldStream> holdBody(RangeServer& server, const QByteArray& bytes, bool ranges) {
  HeldStream::Answer answer;
  answer.start = bytes.left(1000);
  answer.size = bytes.size();
  if (ranges) answer.request = kRequest;
  return HeldStream::hold(server.connectFirst(), answer);
}

// Reads exactly n bytes.
QByteArray readExactly(HeldStream& stream, qint64 n) {
  QByteArray out;
  char buffer[8192];
  while (out.size() < n) {
    const qint64 got = stream.read(buffer, std::min<qint64>(sizeof buffer, n - out.size()));
    if (got <= 0) break;
    out.append(buffer, got);
  }
  return out;
}

}  // namespace

TEST(HeldStream, ReadsTheProbesBytesThenTheConnectionsUntilThePeerCloses) {
  for (const qint64 chunk : {1, 3, 64}) {
    int fds[2];
    const auto stream = holdPair(fds, "ID3-start");
    ASSERT_TRUE(stream);
    ASSERT_EQ(write(fds[1], "-and-more", 9), 9);
    close(fds[1]);
    EXPECT_EQ(readToEnd(*stream, chunk), "ID3-start-and-more") << chunk;
    EXPECT_EQ(stream->received(), 18) << chunk;
  }
}

// The read is seen waiting in poll() before cancel() comes; a wake-up that
// never comes fails the test, and the peer's close then ends the read.
TEST(HeldStream, CancelEndsAReadThatWaitsAndEveryReadAfter) {
  int fds[2];
  const auto stream = holdPair(fds, {});
  ASSERT_TRUE(stream);
  std::atomic<pid_t> reader{0};
  auto read = std::async(std::launch::async, [&] {
    reader = static_cast<pid_t>(syscall(SYS_gettid));
    char buffer[16];
    return stream->read(buffer, sizeof buffer);
  });
  EXPECT_TRUE(waitUntil([&] { return reader != 0 && waitsInPoll(reader); }, 10000))
      << "the read never waited";
  stream->cancel();
  const bool ended = read.wait_for(10s) == std::future_status::ready;
  EXPECT_TRUE(ended) << "cancel() did not end the waiting read";
  if (!ended) close(fds[1]);
  EXPECT_EQ(read.get(), -1);
  ASSERT_EQ(write(fds[1], "late", 4), 4);
  char buffer[16];
  EXPECT_EQ(stream->read(buffer, sizeof buffer), -1);
  close(fds[1]);
}

// Out of file descriptors, no eventfd: a read could never be ended, so the
// connection is let go and the engine asks the server itself.
TEST(HeldStream, WithoutAnEventfdNothingIsHeld) {
  int fds[2];
  ASSERT_EQ(socketpair(AF_UNIX, SOCK_STREAM, 0, fds), 0);
  rlimit old{};
  ASSERT_EQ(getrlimit(RLIMIT_NOFILE, &old), 0);
  const int lowestFree = dup(0);
  close(lowestFree);
  rlimit tight = old;
  tight.rlim_cur = static_cast<rlim_t>(lowestFree);
  ASSERT_EQ(setrlimit(RLIMIT_NOFILE, &tight), 0);
  const auto stream = HeldStream::hold(fds[0], {});
  ASSERT_EQ(setrlimit(RLIMIT_NOFILE, &old), 0);
  EXPECT_FALSE(stream);
  EXPECT_EQ(fcntl(fds[0], F_GETFD), -1) << "the connection was not let go";
  close(fds[1]);
}

// Seeks as containers make them: back to the start after a look ahead,
// forward past what came, back again. Bytes at hand are read again without
// a word to the server; others are asked for with the same request and a
// Range.
TEST(HeldStream, ASeekAsksTheServerOnlyForBytesNotAtHand) {
  const QByteArray bytes = body(300 * 1024);
  RangeServer server(bytes, 1000);
  const auto stream = holdBody(server, bytes, true);
  ASSERT_TRUE(stream && stream->seekable());
  EXPECT_EQ(stream->size(), bytes.size());
  const struct {
    qint64 seekTo;
    qint64 readBytes;
    int requests;  // asked for after the probe's, so far
  } steps[] = {
      {0, 200 * 1024, 0},          // the probe's start, then its connection
      {100, 250 * 1024, 0},        // back into the start kept, on along the connection
      {290 * 1024, 10 * 1024, 1},  // ahead of the connection: a range, to the end
      {1000, 1000, 1},             // the start is kept still
      {270 * 1024, 10 * 1024, 2},  // behind the range and past what is kept
  };
  for (const auto& s : steps) {
    ASSERT_TRUE(stream->seek(s.seekTo)) << s.seekTo;
    EXPECT_EQ(readExactly(*stream, s.readBytes), bytes.mid(s.seekTo, s.readBytes)) << s.seekTo;
    EXPECT_EQ(server.requests().size(), s.requests) << s.seekTo;
  }
  // Past its end the body gives nothing, the connection left open or not.
  ASSERT_TRUE(stream->seek(bytes.size()));
  char buffer[16];
  EXPECT_EQ(stream->read(buffer, sizeof buffer), 0);
  EXPECT_FALSE(stream->seek(bytes.size() + 1));
  for (const QByteArray& request : server.requests())
    EXPECT_TRUE(request.startsWith(kRequest.chopped(2) + "Range: bytes=")) << request.constData();
}

// A server that takes no ranges, or answers one with the whole body, is not
// asked again: the engine reads straight through.
TEST(HeldStream, NoRangesNoSeeks) {
  const QByteArray bytes = body(64 * 1024);
  {
    RangeServer server(bytes, 1000);
    const auto stream = holdBody(server, bytes, false);
    ASSERT_TRUE(stream);
    EXPECT_FALSE(stream->seekable());
    EXPECT_TRUE(stream->seek(0));
    EXPECT_FALSE(stream->seek(5000));
    EXPECT_EQ(readExactly(*stream, bytes.size()), bytes);
  }
  RangeServer server(bytes, 1000, false);
  const auto stream = holdBody(server, bytes, true);
  ASSERT_TRUE(stream->seek(50 * 1024));
  char buffer[16];
  EXPECT_EQ(stream->read(buffer, sizeof buffer), -1);
  EXPECT_FALSE(stream->seek(60 * 1024));
  EXPECT_EQ(server.requests().size(), 1);
}
