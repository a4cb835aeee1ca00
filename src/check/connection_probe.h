#pragma once

#include <QObject>
#include <QString>
#include <QStringList>
#include <QThread>
#include <atomic>
#include <functional>
#include <memory>

#include "base/user_agent.h"
#include "check/probe_answer.h"
#include "engines/held_stream.h"

namespace check {

// What a cheap connection attempt learnt about a station's server.
struct ProbeResult {
  enum Reach {
    Answered,  // the server sent something: worth an engine
    Refused,   // connection refused or closed without an answer
    NotFound,  // unknown host, or a missing local file
    TimedOut,  // connected (or not) but silent within the limit
    Untested,  // a scheme we cannot probe cheaply: the engine decides
  };
  Reach reach = Untested;
  int status = 0;  // HTTP/RTSP/ICY status of the (last) answer, 0 when none was read
  BodyKind body = BodyKind::Unknown;
  QStringList variants;  // of a master playlist, absolute, the station's headers kept
  // A media answer's connection, for the engine to read on; null for others.
  std::shared_ptr<HeldStream> held;
};

// Runs connection attempts (as many at once as the caller asks for), each
// within its own time limit. For http and rtsp a request (with the station's
// headers) is sent and the head and the start of the answer read, following
// redirects, so a server that accepts but never answers, a web page and a
// master playlist are told apart; other network schemes only connect. A
// plain-http media answer's connection is kept for the engine.
// The connections live in a thread of their own: hundreds of sockets stay
// out of the caller's event loop, which the engines keep busy, and their
// reads and clocks do not wait on it. Results arrive in the caller's thread
// from its event loop, never from probe() itself.
class ConnectionProber : public QObject {
  Q_OBJECT
 public:
  using Done = std::function<void(const ProbeResult&)>;

  explicit ConnectionProber(QObject* parent = nullptr);
  ~ConnectionProber() override;
  // address: a station's address text, headers included.
  void probe(const QString& address, int timeoutMs, Done done);
  // Drops every attempt; no result arrives any more.
  void cancelAll();
  // The User-Agent of stations that name none.
  void setUserAgent(const QByteArray& userAgent) { m_userAgent = userAgent; }

 private:
  // In m_thread; done is called there.
  void launch(const QString& address, int timeoutMs, const Done& done);

  QByteArray m_userAgent = useragent::kDefault;  // set before the first probe
  std::atomic<quint64> m_epoch = 0;  // attempts of an earlier epoch were cancelled
  QThread m_thread;
  QObject* m_home;  // in m_thread: the parent of the attempts
};

}  // namespace check
