#include "engines/playlist_fetch.h"

#include <QFile>
#include <QNetworkAccessManager>
#include <QNetworkReply>
#include <QTimer>

#include "base/text_file.h"
#include "engines/abandon_reply.h"

namespace {

LoadFailure failureOf(QNetworkReply::NetworkError error) {
  switch (error) {
    case QNetworkReply::ConnectionRefusedError:
    case QNetworkReply::HostNotFoundError:
    case QNetworkReply::RemoteHostClosedError:
    case QNetworkReply::NetworkSessionFailedError:
      return LoadFailure::Unreachable;
    case QNetworkReply::TimeoutError:
    case QNetworkReply::OperationCanceledError:
      return LoadFailure::TimedOut;
    case QNetworkReply::ContentNotFoundError:
    case QNetworkReply::ContentGoneError:
      return LoadFailure::Missing;
    default:
      return LoadFailure::Other;
  }
}

}  // namespace

PlaylistFetch::PlaylistFetch(QObject* parent)
    : QObject(parent), m_network(new QNetworkAccessManager(this)) {}

void PlaylistFetch::start(const playlists::StationAddress& address, int timeoutMs,
                          const QByteArray& userAgent) {
  cancel();
  if (isLocalAddress(address.bare)) return readLocal(address.bare);
  QNetworkRequest request{QUrl(address.bare)};
  request.setHeader(QNetworkRequest::UserAgentHeader, userAgent);
  for (const playlists::RequestHeader& h : address.headers) request.setRawHeader(h.name, h.value);
  request.setTransferTimeout(timeoutMs);
  m_reply = m_network->get(request);
  connect(m_reply, &QNetworkReply::readyRead, this, [this] {
    // Media behind a list's name: binary, or a stream that never ends.
    if (m_reply && (m_reply->bytesAvailable() > kMaxBytes || m_reply->peek(4096).contains('\0')))
      finishReply();
  });
  connect(m_reply, &QNetworkReply::finished, this, &PlaylistFetch::finishReply);
}

void PlaylistFetch::cancel() {
  ++m_request;
  abandonReply(m_reply, this);
}

void PlaylistFetch::readLocal(const QString& address) {
  const quint64 request = m_request;
  const QString path = localPath(address);
  QTimer::singleShot(0, this, [this, request, path, address] {
    if (request != m_request) return;
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly))
      return Q_EMIT failed(file.exists() ? LoadFailure::Other : LoadFailure::Missing);
    Q_EMIT fetched(textfile::decode(file.read(kMaxBytes)), address);
  });
}

void PlaylistFetch::finishReply() {
  QNetworkReply* reply = m_reply;
  m_reply = nullptr;
  reply->disconnect(this);
  reply->deleteLater();
  const QNetworkReply::NetworkError error = reply->error();
  const QByteArray body = reply->read(kMaxBytes);
  reply->abort();
  if (error != QNetworkReply::NoError) return Q_EMIT failed(failureOf(error));
  Q_EMIT fetched(textfile::decode(body), reply->url().toString());
}
