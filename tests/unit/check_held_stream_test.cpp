// The probe's connection handed to an engine: the bytes the probe read come
// first, then the socket's, and a read that waits can be ended from another
// thread.
#include <gtest/gtest.h>
#include <sys/socket.h>
#include <unistd.h>

#include <QElapsedTimer>
#include <thread>

#include "engines/held_stream.h"

namespace {

// Everything the stream gives until its end.
QByteArray readToEnd(HeldStream& stream, qint64 chunk) {
  QByteArray all;
  char buffer[64];
  for (qint64 n; (n = stream.read(buffer, chunk)) > 0;) all.append(buffer, n);
  return all;
}

}  // namespace

TEST(HeldStream, ReadsTheProbesBytesThenTheConnectionsUntilThePeerCloses) {
  for (const qint64 chunk : {1, 3, 64}) {
    int fds[2];
    ASSERT_EQ(socketpair(AF_UNIX, SOCK_STREAM, 0, fds), 0);
    HeldStream stream(fds[0], "ID3-start");
    ASSERT_EQ(write(fds[1], "-and-more", 9), 9);
    close(fds[1]);
    EXPECT_EQ(readToEnd(stream, chunk), "ID3-start-and-more") << chunk;
  }
}

TEST(HeldStream, CancelEndsAReadThatWaitsAndEveryReadAfter) {
  int fds[2];
  ASSERT_EQ(socketpair(AF_UNIX, SOCK_STREAM, 0, fds), 0);
  HeldStream stream(fds[0], {});
  QElapsedTimer clock;
  clock.start();
  std::thread canceller([&stream] {
    std::this_thread::sleep_for(std::chrono::milliseconds(100));
    stream.cancel();
  });
  char buffer[16];
  EXPECT_EQ(stream.read(buffer, sizeof buffer), -1);
  canceller.join();
  EXPECT_LT(clock.elapsed(), 5000);
  ASSERT_EQ(write(fds[1], "late", 4), 4);
  EXPECT_EQ(stream.read(buffer, sizeof buffer), -1);
  close(fds[1]);
}
