#include "local_http_server.h"

#include <QPointer>
#include <QTcpServer>
#include <QTcpSocket>
#include <QTimer>
#include <QUrl>

namespace {
constexpr int kBacklog = 1024;
}  // namespace

// Lives in the server's thread: accepts connections and answers them.
class HttpWorker : public QObject {
 public:
  explicit HttpWorker(LocalHttpServer& server) : m_server(server) {}

  quint16 listen() {
    m_tcp = new QTcpServer(this);
    // As a real server's: hundreds of clients may connect at once, and a
    // full queue would hold the next ones back by a second (a SYN retry).
    m_tcp->setListenBacklogSize(kBacklog);
    m_tcp->setMaxPendingConnections(kBacklog);
    if (!m_tcp->listen(QHostAddress::LocalHost, 0)) return 0;
    connect(m_tcp, &QTcpServer::newConnection, this, [this] {
      while (QTcpSocket* s = m_tcp->nextPendingConnection()) accept(s);
    });
    return m_tcp->serverPort();
  }

 private:
  void accept(QTcpSocket* socket) {
    connect(socket, &QTcpSocket::disconnected, socket, &QObject::deleteLater);
    connect(socket, &QTcpSocket::readyRead, socket, [this, socket] {
      QByteArray& buffer = m_buffers[socket];
      buffer += socket->readAll();
      if (!buffer.contains("\r\n\r\n")) return;
      const QByteArray request = buffer;
      m_buffers.remove(socket);
      disconnect(socket, &QTcpSocket::readyRead, nullptr, nullptr);
      handle(socket, request);
    });
  }

  void handle(QTcpSocket* socket, const QByteArray& request) {
    const QList<QByteArray> lines = request.split('\n');
    const QList<QByteArray> first = lines.value(0).trimmed().split(' ');
    const QUrl target(QString::fromLatin1(first.value(1)));
    const QString path = target.path();
    qint64 rangeStart = -1, rangeEnd = -1;
    QByteArray ifNoneMatch;
    for (const QByteArray& line : lines) {
      if (line.toLower().startsWith("if-none-match:")) ifNoneMatch = line.mid(14).trimmed();
      if (!line.toLower().startsWith("range: bytes=")) continue;
      const QList<QByteArray> r = line.trimmed().mid(13).split('-');
      rangeStart = r.value(0).toLongLong();
      rangeEnd = r.value(1).isEmpty() ? -1 : r.value(1).toLongLong();
    }
    m_server.noteRequest(path, rangeStart >= 0);
    bool found = false;
    LocalHttpServer::Route route = m_server.route(path, &found);
    if (!found) return reply(socket, 404, "text/plain", "not found");
    if (route.kind == LocalHttpServer::Route::Kind::Dynamic) route = route.answer(target);
    if (route.kind == LocalHttpServer::Route::Kind::Hang) return;
    if (!route.requiredHeader.isEmpty() && !carries(lines, route))
      return reply(socket, 403, "text/plain", "forbidden");
    if (route.kind == LocalHttpServer::Route::Kind::File && ifNoneMatch == etagOf(route.body))
      return reply(socket, 304, "text/plain", "");
    QPointer<QTcpSocket> guard(socket);
    QTimer::singleShot(route.delayMs, this, [=, this] {
      if (guard) answer(guard, route, rangeStart, rangeEnd);
    });
  }

  // Files carry an ETag, so clients can ask again with If-None-Match.
  static QByteArray etagOf(const QByteArray& body) {
    return '"' + QByteArray::number(qHash(body)) + '"';
  }

  static bool carries(const QList<QByteArray>& lines, const LocalHttpServer::Route& route) {
    const QByteArray wanted = route.requiredHeader.toLower() + ':';
    for (const QByteArray& line : lines)
      if (line.toLower().startsWith(wanted) &&
          line.mid(wanted.size()).trimmed() == route.requiredValue)
        return true;
    return false;
  }

  void answer(QTcpSocket* socket, const LocalHttpServer::Route& route, qint64 rangeStart,
              qint64 rangeEnd) {
    using Kind = LocalHttpServer::Route::Kind;
    switch (route.kind) {
      case Kind::Redirect:
        socket->write("HTTP/1.1 302 Found\r\nLocation: " + route.location +
                      "\r\nContent-Length: 0\r\nConnection: close\r\n\r\n");
        socket->disconnectFromHost();
        return;
      case Kind::Status:
        return reply(socket, route.status, "text/plain", "status");
      case Kind::Live:
        return stream(socket, route);
      default:
        return sendFile(socket, route, rangeStart, rangeEnd);
    }
  }

  void reply(QTcpSocket* socket, int status, const QByteArray& type, const QByteArray& body) {
    socket->write("HTTP/1.1 " + QByteArray::number(status) + " X\r\nContent-Type: " + type +
                  "\r\nContent-Length: " + QByteArray::number(body.size()) +
                  "\r\nConnection: close\r\n\r\n" + body);
    socket->disconnectFromHost();
  }

  void sendFile(QTcpSocket* socket, const LocalHttpServer::Route& route, qint64 start, qint64 end) {
    const qint64 size = route.body.size();
    QByteArray head;
    QByteArray body = route.body;
    if (start >= 0 && start < size) {
      end = (end < 0 || end >= size) ? size - 1 : end;
      body = route.body.mid(start, end - start + 1);
      head = "HTTP/1.1 206 Partial Content\r\nContent-Range: bytes " + QByteArray::number(start) +
             "-" + QByteArray::number(end) + "/" + QByteArray::number(size) + "\r\n";
    } else {
      head = "HTTP/1.1 200 OK\r\n";
    }
    socket->write(head + "Content-Type: " + route.contentType + "\r\nETag: " + etagOf(route.body) +
                  "\r\nAccept-Ranges: bytes\r\nContent-Length: " +
                  QByteArray::number(body.size()) + "\r\nConnection: close\r\n\r\n");
    const qint64 stallAt = route.stallAfterBytes;
    if (stallAt < 0 || stallAt >= body.size() || start > 0) {
      socket->write(body);
      socket->disconnectFromHost();
      return;
    }
    socket->write(body.left(stallAt));
    QPointer<QTcpSocket> guard(socket);
    const QByteArray rest = body.mid(stallAt);
    QTimer::singleShot(route.stallMs, this, [guard, rest] {
      if (!guard) return;
      guard->write(rest);
      guard->disconnectFromHost();
    });
  }

  // Sends the chunk over and over in 100 ms slices until the client leaves.
  void stream(QTcpSocket* socket, const LocalHttpServer::Route& route) {
    socket->write("HTTP/1.1 200 OK\r\nContent-Type: " + route.contentType +
                  "\r\nConnection: close\r\n\r\n");
    auto* timer = new QTimer(socket);
    auto offset = std::make_shared<qint64>(0);
    auto sent = std::make_shared<qint64>(0);
    const int slice = std::max(1, route.bytesPerSecond / 10);
    const QByteArray chunk = route.body;
    const qint64 stallAt = route.stallAfterBytes < 0 ? LLONG_MAX : route.stallAfterBytes;
    auto send = [socket, offset, sent, slice, chunk, stallAt] {
      if (socket->bytesToWrite() > 4 * slice || *sent >= stallAt) return;
      QByteArray out;
      while (out.size() < slice) {
        out += chunk.mid(*offset % chunk.size(), slice - out.size());
        *offset += out.size();
        *offset %= chunk.size();
      }
      out.truncate(std::min<qint64>(out.size(), stallAt - *sent));
      *sent += out.size();
      socket->write(out);
    };
    // Start with a second's worth so players can open the stream at once.
    for (int i = 0; i < 10; ++i) send();
    connect(timer, &QTimer::timeout, socket, send);
    timer->start(100);
    if (route.stallAfterBytes >= 0)
      QTimer::singleShot(route.stallMs, socket, [socket] { socket->disconnectFromHost(); });
  }

  LocalHttpServer& m_server;
  QTcpServer* m_tcp = nullptr;
  QHash<QTcpSocket*, QByteArray> m_buffers;
};

LocalHttpServer::LocalHttpServer() = default;

LocalHttpServer::~LocalHttpServer() {
  if (m_worker) QMetaObject::invokeMethod(m_worker, &QObject::deleteLater);
  m_thread.quit();
  m_thread.wait();
}

bool LocalHttpServer::start() {
  auto* worker = new HttpWorker(*this);
  m_worker = worker;
  worker->moveToThread(&m_thread);
  m_thread.start();
  QMetaObject::invokeMethod(worker, [this, worker] { m_port = worker->listen(); },
                            Qt::BlockingQueuedConnection);
  return m_port != 0;
}

QString LocalHttpServer::url(const QString& path) const {
  return QStringLiteral("http://127.0.0.1:%1%2").arg(m_port).arg(path);
}

void LocalHttpServer::addRoute(const QString& path, const Route& route) {
  QMutexLocker lock(&m_mutex);
  m_routes.insert(path, route);
}

void LocalHttpServer::addFile(const QString& path, const QByteArray& body,
                              const QByteArray& contentType, int delayMs) {
  Route r;
  r.body = body;
  r.contentType = contentType;
  r.delayMs = delayMs;
  addRoute(path, r);
}

void LocalHttpServer::addRedirect(const QString& path, const QString& target) {
  Route r;
  r.kind = Route::Kind::Redirect;
  r.location = target.toUtf8();
  addRoute(path, r);
}

void LocalHttpServer::addHanging(const QString& path) {
  Route r;
  r.kind = Route::Kind::Hang;
  addRoute(path, r);
}

void LocalHttpServer::addLive(const QString& path, const QByteArray& chunk,
                              const QByteArray& contentType, int bytesPerSecond, int delayMs) {
  Route r;
  r.kind = Route::Kind::Live;
  r.body = chunk;
  r.contentType = contentType;
  r.bytesPerSecond = bytesPerSecond;
  r.delayMs = delayMs;
  addRoute(path, r);
}

void LocalHttpServer::addStatus(const QString& path, int status) {
  Route r;
  r.kind = Route::Kind::Status;
  r.status = status;
  addRoute(path, r);
}

void LocalHttpServer::addDynamic(const QString& path,
                                 std::function<Route(const QUrl& target)> answer) {
  Route r;
  r.kind = Route::Kind::Dynamic;
  r.answer = std::move(answer);
  addRoute(path, r);
}

void LocalHttpServer::addLocked(const QString& path, const QByteArray& body,
                                const QByteArray& contentType, const QByteArray& header,
                                const QByteArray& value) {
  Route r;
  r.body = body;
  r.contentType = contentType;
  r.requiredHeader = header;
  r.requiredValue = value;
  addRoute(path, r);
}

QStringList LocalHttpServer::requests() const {
  QMutexLocker lock(&m_mutex);
  return m_requests;
}

QStringList LocalHttpServer::rangedRequests() const {
  QMutexLocker lock(&m_mutex);
  return m_rangedRequests;
}

LocalHttpServer::Route LocalHttpServer::route(const QString& path, bool* found) {
  QMutexLocker lock(&m_mutex);
  *found = m_routes.contains(path);
  if (!*found) return {};
  Route& r = m_routes[path];
  Route answer = r;
  if (r.failures > 0) {
    --r.failures;
    answer.kind = Route::Kind::Status;
    answer.status = 503;
  }
  return answer;
}

void LocalHttpServer::noteRequest(const QString& path, bool ranged) {
  QMutexLocker lock(&m_mutex);
  m_requests.append(path);
  if (ranged) m_rangedRequests.append(path);
}

quint16 LocalHttpServer::refusedPort() {
  QTcpServer probe;
  probe.listen(QHostAddress::LocalHost, 0);
  const quint16 port = probe.serverPort();
  probe.close();
  return port;
}
