#pragma once

#include <QByteArray>
#include <atomic>
#include <memory>
#include <sys/socket.h>

// A station's answer that a probe has begun to read: the connection and the
// body bytes read so far, handed to an engine so the station is not asked
// twice. A server that is slow to answer would make the engine wait once
// more, and a one-time token would be refused the second time.
//
// A finite body whose server takes ranges can be read from any byte: the
// first bytes stay in memory (containers are read from their start again
// after a look at their end), and a byte elsewhere is asked for with the
// same request and a Range, to the same server.
//
// read() and seek() are meant for an engine's own thread; cancel() may come
// from any while a read waits.
class HeldStream {
 public:
  // What the probe read of the answer.
  struct Answer {
    QByteArray start;    // the body's first bytes
    qint64 size = -1;    // the body's length; -1: endless
    // The request that brought it, when its server takes byte ranges.
    QByteArray request;
  };

  // Takes over fd, a connected socket whose answer head has been read. Null
  // (and fd closed) when the stream cannot be held: a read could not be
  // ended while it waits.
  static std::shared_ptr<HeldStream> hold(int fd, Answer answer);
  ~HeldStream();
  HeldStream(const HeldStream&) = delete;
  HeldStream& operator=(const HeldStream&) = delete;

  // Up to size bytes: blocks until some come; 0 at the end of the body or
  // once the peer has closed, -1 on an error or after cancel().
  qint64 read(char* buffer, qint64 size);
  // The body's length; -1 when endless.
  qint64 size() const { return m_size; }
  // True when seek() may move anywhere in the body.
  bool seekable() const { return m_rangeable; }
  // Moves the next read to offset; false when the stream cannot go there.
  // The server is asked only when a read needs bytes not at hand.
  bool seek(qint64 offset);
  // Ends a read that waits, and every read after it.
  void cancel();
  // Body bytes that reached this stream, the probe's included.
  qint64 received() const { return m_received; }

 private:
  // One answer being read: its socket, the offset of its next byte and the
  // bytes read with its head.
  struct Connection {
    int fd = -1;
    qint64 offset = 0;
    QByteArray pending;
  };

  HeldStream(int fd, int wake, Answer answer);
  // The connection whose next byte is the one at m_offset, asked for when
  // there is none; null on failure.
  Connection* connectionHere();
  bool askFrom(qint64 offset);
  bool readRangeHead(Connection& c, qint64 offset);
  qint64 readFrom(Connection& c, char* buffer, qint64 size);
  void keep(const Connection& c, const char* bytes, qint64 n);
  // Until fd is ready for events; false when cancelled or on an error.
  bool waitFor(int fd, short events);

  int m_wake;  // an eventfd that cancel() signals
  qint64 m_size;
  QByteArray m_request;
  bool m_rangeable = false;
  sockaddr_storage m_peer{};
  socklen_t m_peerLength = 0;
  Connection m_first;   // the probe's
  Connection m_ranged;  // the last one asked with a Range
  QByteArray m_kept;    // the body from its start, while it is small
  qint64 m_offset = 0;
  std::atomic<qint64> m_received{0};
  std::atomic<bool> m_cancelled{false};
};
