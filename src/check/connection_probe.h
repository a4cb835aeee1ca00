#pragma once

#include <QObject>
#include <QString>
#include <deque>
#include <functional>

#include "base/user_agent.h"

namespace check {

// What a cheap connection attempt learnt about a station's server.
struct ProbeResult {
  enum Outcome {
    Answered,  // the server sent something: worth an engine slot
    Refused,   // connection refused or closed without an answer
    NotFound,  // unknown host, or a missing local file
    TimedOut,  // connected (or not) but silent within the limit
    Untested,  // a scheme we cannot probe cheaply: the engine decides
  };
  Outcome outcome = Untested;
  int status = 0;  // HTTP/RTSP/ICY status of the answer, 0 when none was read
};

// Runs many connection attempts at once, at most maxConcurrent at a time,
// each given up after timeoutMs. For http and rtsp a request is sent and
// the first line of the answer read, so a server that accepts but never
// answers is told apart from a live one; other network schemes only
// connect. Results arrive from the event loop, never from probe() itself.
class ConnectionProber : public QObject {
  Q_OBJECT
 public:
  using Done = std::function<void(const ProbeResult&)>;

  ConnectionProber(int maxConcurrent, int timeoutMs, QObject* parent = nullptr);
  // The address may carry a "|" header suffix: the bare address is probed
  // and the headers sent with the request, the station's User-Agent first.
  void probe(const QString& address, Done done);
  // The User-Agent of stations that name none.
  void setUserAgent(const QByteArray& userAgent) { m_userAgent = userAgent; }

 private:
  struct Pending {
    QString address;
    Done done;
  };
  void startWaiting();
  void launch(const Pending& p);

  int m_maxConcurrent;
  int m_timeoutMs;
  int m_running = 0;
  QByteArray m_userAgent = useragent::kDefault;
  std::deque<Pending> m_waiting;
};

}  // namespace check
