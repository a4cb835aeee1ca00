#pragma once

#include <QByteArray>
#include <QHash>
#include <QMutex>
#include <QString>
#include <QThread>
#include <QUrl>
#include <functional>

class QTcpServer;
class QTcpSocket;

// An HTTP server on 127.0.0.1 for tests, serving from its own thread so that
// engines reading from it never depend on the test's event loop. Routes are
// added before or after start(); each answer closes its connection.
class LocalHttpServer {
 public:
  struct Route {
    enum class Kind { File, Redirect, Hang, Live, Status, Dynamic };
    Kind kind = Kind::File;
    QByteArray body;          // file body, or the chunk a live stream repeats
    QByteArray contentType;
    QByteArray location;      // redirect target
    int status = 200;
    int delayMs = 0;          // before the answer starts
    int stallAfterBytes = -1; // a file that stops sending here ...
    int stallMs = 0;          // ... for this long, then sends the rest (a live stream closes
                              // this long after it began)
    int bytesPerSecond = 0;   // live streams: the sending rate
    // Anti-hotlinking: answer 403 unless the request carries this header
    // (name case-blind) with exactly this value.
    QByteArray requiredHeader;
    QByteArray requiredValue;
    int failures = 0;         // answers 503 to this many requests first
    // Dynamic: the route of each request, from its target (path and query);
    // called in the server's thread.
    std::function<Route(const QUrl& target)> answer;
  };

  LocalHttpServer();
  ~LocalHttpServer();
  LocalHttpServer(const LocalHttpServer&) = delete;
  LocalHttpServer& operator=(const LocalHttpServer&) = delete;

  bool start();
  quint16 port() const { return m_port; }
  QString url(const QString& path) const;

  void addRoute(const QString& path, const Route& route);
  void addFile(const QString& path, const QByteArray& body, const QByteArray& contentType,
               int delayMs = 0);
  void addRedirect(const QString& path, const QString& target);
  // Accepts the connection and never answers.
  void addHanging(const QString& path);
  // An endless stream repeating chunk at the given rate, answered after delayMs.
  void addLive(const QString& path, const QByteArray& chunk, const QByteArray& contentType,
               int bytesPerSecond, int delayMs = 0);
  void addStatus(const QString& path, int status);
  // Answers each request as answer() says for its target.
  void addDynamic(const QString& path, std::function<Route(const QUrl& target)> answer);
  // Serves body only to requests that carry the header with the value.
  void addLocked(const QString& path, const QByteArray& body, const QByteArray& contentType,
                 const QByteArray& header, const QByteArray& value);

  // Paths requested so far, in order.
  QStringList requests() const;
  // Those of them asked for a byte range.
  QStringList rangedRequests() const;

  // A port on 127.0.0.1 where nothing listens: connections are refused.
  static quint16 refusedPort();

 private:
  friend class HttpWorker;
  // The route of a request; one of its failures is used up.
  Route route(const QString& path, bool* found);
  void noteRequest(const QString& path, bool ranged);

  mutable QMutex m_mutex;
  QHash<QString, Route> m_routes;
  QStringList m_requests;
  QStringList m_rangedRequests;
  QThread m_thread;
  QObject* m_worker = nullptr;
  quint16 m_port = 0;
};
