#pragma once

#include <QByteArray>
#include <atomic>

// A station's answer that a probe has begun to read: the connection and the
// body bytes read so far, handed to an engine so the station is not asked
// twice. A server that is slow to answer would make the engine wait once
// more, and a one-time token would be refused the second time.
//
// read() is meant for an engine's own thread; cancel() may come from any
// while a read waits.
class HeldStream {
 public:
  // Takes over fd, a connected socket whose answer head has been read.
  HeldStream(int fd, QByteArray start);
  ~HeldStream();
  HeldStream(const HeldStream&) = delete;
  HeldStream& operator=(const HeldStream&) = delete;

  // Up to size bytes: blocks until some come; 0 once the peer has closed,
  // -1 on an error or after cancel().
  qint64 read(char* buffer, qint64 size);
  // Ends a read that waits, and every read after it.
  void cancel();

 private:
  int m_fd;
  int m_wake;  // an eventfd that cancel() signals
  QByteArray m_start;
  qsizetype m_startRead = 0;
  std::atomic<bool> m_cancelled{false};
};
