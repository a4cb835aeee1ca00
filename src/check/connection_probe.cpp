#include "check/connection_probe.h"

#include <QElapsedTimer>
#include <QFileInfo>
#include <QPointer>
#include <QSslSocket>
#include <QTcpSocket>
#include <QTimer>
#include <QUrl>
#include <fcntl.h>

#include <optional>

#include "playlists/station_address.h"
#include "playlists/tidy_address.h"

namespace check {

namespace {

constexpr qsizetype kMaxAnswer = 80 * 1024;
// Read from the kernel this much at a time: a media answer is judged by its
// first bytes, and what follows waits in the kernel, not in our memory, for
// the engine that reads on.
constexpr qsizetype kReadBuffer = 16 * 1024;
constexpr int kMaxRedirects = 5;
// Once the head is in, the body's first bytes are awaited this long at most.
constexpr int kBodyWaitMs = 1500;

struct Target {
  QUrl url;
  QString host;
  quint16 port = 0;
  bool tls = false;
  QByteArray request;  // sent once connected; empty: connecting is enough
};

// The header lines of a request: the station's own (which StationAddress
// has checked for line breaks), with the default User-Agent when it names none.
QByteArray headerLines(const playlists::StationAddress& station, const QByteArray& userAgent) {
  QByteArray lines;
  if (station.header("User-Agent").isEmpty()) lines += "User-Agent: " + userAgent + "\r\n";
  for (const playlists::RequestHeader& h : station.headers)
    lines += h.name + ": " + h.value + "\r\n";
  return lines;
}

QByteArray requestFor(const QString& scheme, const QUrl& url, const QByteArray& headers) {
  QByteArray path =
      url.toEncoded(QUrl::RemoveScheme | QUrl::RemoveAuthority | QUrl::RemoveFragment);
  if (path.isEmpty()) path = "/";
  if (scheme == u"rtsp")
    return "OPTIONS " + url.toEncoded(QUrl::RemoveFragment) + " RTSP/1.0\r\nCSeq: 1\r\n" +
           headers + "\r\n";
  QByteArray host = url.host(QUrl::FullyEncoded).toUtf8();
  if (host.contains(':')) host = '[' + host + ']';
  if (url.port() > 0) host += ':' + QByteArray::number(url.port());
  return "GET " + path + " HTTP/1.1\r\nHost: " + host + "\r\n" + headers +
         "Accept: */*\r\nIcy-MetaData: 0\r\nConnection: close\r\n\r\n";
}

// Where to knock, or nothing for addresses the engine must judge alone
// (mms picks its transport and port itself).
std::optional<Target> targetOf(const QUrl& url, const QByteArray& headers) {
  const QString scheme = url.scheme().toLower();
  static const QStringList asking = {QStringLiteral("http"), QStringLiteral("https"),
                                     QStringLiteral("rtsp")};
  static const QStringList connecting = {QStringLiteral("rtmp"), QStringLiteral("ftp")};
  if (!asking.contains(scheme) && !connecting.contains(scheme)) return std::nullopt;
  if (url.host().isEmpty()) return std::nullopt;
  Target t;
  t.url = url;
  t.host = url.host(QUrl::FullyEncoded);
  t.port = static_cast<quint16>(url.port(playlists::defaultPort(scheme)));
  t.tls = scheme == u"https";
  if (t.tls && !QSslSocket::supportsSsl()) return t;  // connecting is all we can do
  if (asking.contains(scheme)) t.request = requestFor(scheme, url, headers);
  return t;
}

ProbeResult resultOf(ProbeResult::Reach reach, int status = 0) {
  ProbeResult r;
  r.reach = reach;
  r.status = status;
  return r;
}

// Only what the server or its name said is a verdict; any other failure
// (a TLS handshake Qt refuses, no file descriptor left) is the engine's to try.
ProbeResult::Reach reachOf(QAbstractSocket::SocketError error) {
  switch (error) {
    case QAbstractSocket::HostNotFoundError: return ProbeResult::NotFound;
    case QAbstractSocket::ConnectionRefusedError:
    case QAbstractSocket::RemoteHostClosedError: return ProbeResult::Refused;
    default: return ProbeResult::Untested;
  }
}

// One station: connect, send the request, read the head and the start of
// the answer; a redirect starts over at its target within the same limit.
class SocketProbe : public QObject {
 public:
  SocketProbe(const playlists::StationAddress& station, const QByteArray& headers, int timeoutMs,
              ConnectionProber::Done done, QObject* parent)
      : QObject(parent), m_station(station), m_headers(headers), m_done(std::move(done)) {
    QTimer::singleShot(timeoutMs, this, [this] { onTimeout(); });
    m_bodyWait.setSingleShot(true);
    m_bodyWait.setInterval(kBodyWaitMs);
    connect(&m_bodyWait, &QTimer::timeout, this, [this] { finishWithAnswer(); });
    knock(QUrl(m_station.bare));
  }

  // Ends the attempt without a result; safe from inside its own callback.
  void abandon() {
    if (m_finished) return;
    m_finished = true;
    if (m_socket) {
      m_socket->disconnect(this);
      m_socket->abort();
    }
    deleteLater();
  }

  static bool canProbe(const playlists::StationAddress& station) {
    return targetOf(QUrl(station.bare), {}).has_value();
  }

 private:
  void knock(const QUrl& url) {
    const auto target = targetOf(url, m_headers);
    if (!target) return finish(resultOf(ProbeResult::Untested, m_answer.status));
    m_target = *target;
    m_bytes.clear();
    m_answer = {};
    m_firstBodyByte = {};
    if (m_socket) {
      m_socket->disconnect(this);
      m_socket->abort();
      m_socket->deleteLater();
    }
    const bool tls = target->tls && QSslSocket::supportsSsl();
    m_socket = tls ? new QSslSocket(this) : new QTcpSocket(this);
    m_socket->setReadBufferSize(kReadBuffer);
    connect(m_socket, &QAbstractSocket::errorOccurred, this, [this](QAbstractSocket::SocketError e) {
      if (!m_bytes.isEmpty()) return finishWithAnswer();
      finish(resultOf(reachOf(e)));
    });
    connect(m_socket, &QIODevice::readyRead, this, &SocketProbe::read);
    if (tls) {
      auto* ssl = static_cast<QSslSocket*>(m_socket);
      ssl->setPeerVerifyMode(QSslSocket::VerifyNone);
      connect(ssl, &QSslSocket::encrypted, this, &SocketProbe::ask);
      connect(ssl, &QSslSocket::sslErrors, ssl, [ssl] { ssl->ignoreSslErrors(); });
      ssl->connectToHostEncrypted(target->host, target->port);
    } else {
      connect(m_socket, &QAbstractSocket::connected, this, &SocketProbe::ask);
      m_socket->connectToHost(target->host, target->port);
    }
  }

  void ask() {
    if (m_target.request.isEmpty()) return finish(resultOf(ProbeResult::Answered));
    m_socket->write(m_target.request);
  }

  void read() {
    // What has come, not a buffer of the most the probe keeps per read.
    m_bytes += m_socket->read(std::min(m_socket->bytesAvailable(), kMaxAnswer - m_bytes.size()));
    m_answer = parseAnswer(m_bytes);
    // The download speed of a held answer counts from here.
    if (m_firstBodyByte == HeldStream::Clock::time_point() && !m_answer.body.isEmpty())
      m_firstBodyByte = HeldStream::Clock::now();
    if (m_answer.headComplete && !m_bodyWait.isActive()) m_bodyWait.start();
    if (m_answer.enough(m_bytes.size() >= kMaxAnswer)) finishWithAnswer();
  }

  void onTimeout() {
    // A server that sent part of its answer did answer; the engine will
    // find it has no time left.
    if (!m_bytes.isEmpty()) return finishWithAnswer();
    finish(resultOf(ProbeResult::TimedOut));
  }

  void finishWithAnswer() {
    const int status = m_answer.status;
    if (status >= 300 && status < 400 && !m_answer.location.isEmpty() &&
        m_redirects < kMaxRedirects) {
      ++m_redirects;
      m_bodyWait.stop();
      return knock(m_target.url.resolved(QUrl(QString::fromUtf8(m_answer.location))));
    }
    ProbeResult r = resultOf(ProbeResult::Answered, status);
    r.body = kindOf(m_answer);
    if (r.body == BodyKind::MasterPlaylist)
      for (const QString& v : variantsOf(m_answer.body, m_target.url))
        r.variants << playlists::StationAddress{v, m_station.headers}.text();
    if (isHeldMedia(r)) r.held = holdConnection();
    finish(r);
  }

  // A media answer over plain http, still open, its body sent raw: read
  // on, the engine may start where the probe stopped.
  bool isHeldMedia(const ProbeResult& r) const {
    return r.body == BodyKind::Unknown && r.status / 100 == 2 && m_answer.http &&
           !m_answer.chunked && !m_target.tls &&
           m_socket->state() == QAbstractSocket::ConnectedState;
  }

  std::shared_ptr<HeldStream> holdConnection() {
    const int fd = fcntl(static_cast<int>(m_socket->socketDescriptor()), F_DUPFD_CLOEXEC, 0);
    if (fd < 0) return {};
    HeldStream::Answer answer;
    answer.start = m_answer.body + m_socket->readAll();
    answer.size = m_answer.contentLength;
    answer.firstByte = m_firstBodyByte;
    if (m_answer.ranges) answer.request = m_target.request;
    return HeldStream::hold(fd, std::move(answer));
  }

  void finish(const ProbeResult& result) {
    if (m_finished) return;
    abandon();
    m_done(result);
  }

  playlists::StationAddress m_station;
  QByteArray m_headers;
  ConnectionProber::Done m_done;
  Target m_target;
  QAbstractSocket* m_socket = nullptr;
  QByteArray m_bytes;
  ProbeAnswer m_answer;
  HeldStream::Clock::time_point m_firstBodyByte;
  QTimer m_bodyWait;
  int m_redirects = 0;
  bool m_finished = false;
};

ProbeResult localResult(const QString& address) {
  const QString bare = playlists::bareAddress(address);
  const QString path = bare.startsWith(u"file:", Qt::CaseInsensitive) ? QUrl(bare).toLocalFile() : bare;
  return resultOf(QFileInfo::exists(path) ? ProbeResult::Untested : ProbeResult::NotFound);
}

}  // namespace

ConnectionProber::ConnectionProber(QObject* parent) : QObject(parent), m_home(new QObject) {
  m_thread.setObjectName(QStringLiteral("nettv probes"));
  m_home->moveToThread(&m_thread);
  m_thread.start();
}

ConnectionProber::~ConnectionProber() {
  // The attempts and their timers end in their own thread.
  QMetaObject::invokeMethod(m_home, [home = m_home] { delete home; }, Qt::BlockingQueuedConnection);
  m_thread.quit();
  m_thread.wait();
}

void ConnectionProber::probe(const QString& address, int timeoutMs, Done done) {
  // Straight to the probes' thread: the caller's thread, busy with the
  // engines, is crossed once, when the result comes back.
  const quint64 epoch = m_epoch;
  auto toCaller = [this, epoch, done = std::move(done)](const ProbeResult& r) {
    QMetaObject::invokeMethod(this, [this, epoch, done, r] {
      if (epoch == m_epoch) done(r);
    });
  };
  QMetaObject::invokeMethod(m_home, [this, epoch, address, timeoutMs, toCaller] {
    if (epoch == m_epoch) launch(address, timeoutMs, toCaller);
  });
}

void ConnectionProber::cancelAll() {
  ++m_epoch;
  QMetaObject::invokeMethod(m_home, [home = m_home] {
    for (QObject* child : home->children())
      if (auto* p = dynamic_cast<SocketProbe*>(child)) p->abandon();
  });
}

void ConnectionProber::launch(const QString& address, int timeoutMs, const Done& done) {
  const playlists::StationAddress station = playlists::StationAddress::parse(address);
  const QString scheme = playlists::addressScheme(station.bare);
  if (scheme.isEmpty() || scheme == u"file") return done(localResult(address));
  if (!SocketProbe::canProbe(station)) return done(resultOf(ProbeResult::Untested));
  new SocketProbe(station, headerLines(station, m_userAgent), timeoutMs, done, m_home);
}

}  // namespace check
