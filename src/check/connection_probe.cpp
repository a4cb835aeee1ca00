#include "check/connection_probe.h"

#include <QFileInfo>
#include <QRegularExpression>
#include <QSslSocket>
#include <QTcpSocket>
#include <QTimer>
#include <QUrl>
#include <optional>

#include "playlists/station_address.h"
#include "playlists/tidy_address.h"

namespace check {

namespace {

// The status line is all we read of an answer.
constexpr int kAnswerBytes = 512;

struct Target {
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
std::optional<Target> targetOf(const QString& address, const QByteArray& headers) {
  const QString scheme = playlists::addressScheme(address);
  static const QStringList asking = {QStringLiteral("http"), QStringLiteral("https"),
                                     QStringLiteral("rtsp")};
  static const QStringList connecting = {QStringLiteral("rtmp"), QStringLiteral("ftp")};
  if (!asking.contains(scheme) && !connecting.contains(scheme)) return std::nullopt;
  const QUrl url(address);
  if (url.host().isEmpty()) return std::nullopt;
  Target t;
  t.host = url.host(QUrl::FullyEncoded);
  t.port = static_cast<quint16>(url.port(playlists::defaultPort(scheme)));
  t.tls = scheme == u"https";
  if (t.tls && !QSslSocket::supportsSsl()) return t;  // connecting is all we can do
  if (asking.contains(scheme)) t.request = requestFor(scheme, url, headers);
  return t;
}

int statusOf(const QByteArray& answer) {
  static const QRegularExpression line(
      QStringLiteral("^(?:HTTP/\\d(?:\\.\\d)?|ICY|RTSP/\\d\\.\\d)\\s+(\\d{3})"));
  const auto m = line.match(QString::fromLatin1(answer.left(64)));
  return m.hasMatch() ? m.captured(1).toInt() : 0;
}

ProbeResult::Outcome outcomeOf(QAbstractSocket::SocketError error) {
  return error == QAbstractSocket::HostNotFoundError ? ProbeResult::NotFound : ProbeResult::Refused;
}

// One attempt: connect, send the request, read the first line of the answer.
class SocketProbe : public QObject {
 public:
  SocketProbe(const Target& target, int timeoutMs, ConnectionProber::Done done, QObject* parent)
      : QObject(parent), m_request(target.request), m_done(std::move(done)) {
    const bool tls = target.tls && QSslSocket::supportsSsl();
    m_socket = tls ? new QSslSocket(this) : new QTcpSocket(this);
    connect(m_socket, &QAbstractSocket::errorOccurred, this,
            [this](QAbstractSocket::SocketError e) {
              finish({outcomeOf(e), 0});
            });
    connect(m_socket, &QIODevice::readyRead, this, &SocketProbe::read);
    QTimer::singleShot(timeoutMs, this, [this] { finish({ProbeResult::TimedOut, 0}); });
    if (tls) {
      auto* ssl = static_cast<QSslSocket*>(m_socket);
      ssl->setPeerVerifyMode(QSslSocket::VerifyNone);
      connect(ssl, &QSslSocket::encrypted, this, &SocketProbe::ask);
      connect(ssl, &QSslSocket::sslErrors, ssl, [ssl] { ssl->ignoreSslErrors(); });
      ssl->connectToHostEncrypted(target.host, target.port);
    } else {
      connect(m_socket, &QAbstractSocket::connected, this, &SocketProbe::ask);
      m_socket->connectToHost(target.host, target.port);
    }
  }

 private:
  void ask() {
    if (m_request.isEmpty()) return finish({ProbeResult::Answered, 0});
    m_socket->write(m_request);
  }

  void read() {
    m_answer += m_socket->read(kAnswerBytes - m_answer.size());
    if (m_answer.contains('\n') || m_answer.size() >= kAnswerBytes)
      finish({ProbeResult::Answered, statusOf(m_answer)});
  }

  void finish(const ProbeResult& result) {
    if (m_finished) return;
    // A server that closes after a partial first line still answered.
    ProbeResult r = result;
    if (r.outcome != ProbeResult::Answered && !m_answer.isEmpty())
      r = {ProbeResult::Answered, statusOf(m_answer)};
    m_finished = true;
    m_socket->disconnect(this);
    m_socket->abort();
    deleteLater();
    m_done(r);
  }

  QAbstractSocket* m_socket = nullptr;
  QByteArray m_request;
  QByteArray m_answer;
  ConnectionProber::Done m_done;
  bool m_finished = false;
};

ProbeResult localResult(const QString& address) {
  const QString path =
      address.startsWith(u"file:", Qt::CaseInsensitive) ? QUrl(address).toLocalFile() : address;
  return {QFileInfo::exists(path) ? ProbeResult::Untested : ProbeResult::NotFound, 0};
}

}  // namespace

ConnectionProber::ConnectionProber(int maxConcurrent, int timeoutMs, QObject* parent)
    : QObject(parent), m_maxConcurrent(maxConcurrent), m_timeoutMs(timeoutMs) {}

void ConnectionProber::probe(const QString& address, Done done) {
  m_waiting.push_back({address, std::move(done)});
  // Start from the event loop so results never arrive inside probe().
  QTimer::singleShot(0, this, &ConnectionProber::startWaiting);
}

void ConnectionProber::startWaiting() {
  while (m_running < m_maxConcurrent && !m_waiting.empty()) {
    Pending p = std::move(m_waiting.front());
    m_waiting.pop_front();
    launch(p);
  }
}

void ConnectionProber::launch(const Pending& p) {
  const playlists::StationAddress station = playlists::StationAddress::parse(p.address);
  const QString scheme = playlists::addressScheme(station.bare);
  if (scheme.isEmpty() || scheme == u"file") return p.done(localResult(station.bare));
  const auto target = targetOf(station.bare, headerLines(station, m_userAgent));
  if (!target) return p.done({ProbeResult::Untested, 0});
  ++m_running;
  new SocketProbe(
      *target, m_timeoutMs,
      [this, done = p.done](const ProbeResult& r) {
        --m_running;
        done(r);
        startWaiting();
      },
      this);
}

}  // namespace check
