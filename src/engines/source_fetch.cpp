#include "engines/source_fetch.h"

#include <QNetworkAccessManager>
#include <QNetworkReply>

#include "engines/abandon_reply.h"
#include "playlists/network_address.h"
#include "playlists/station_address.h"

namespace {

QString reasonOfStatus(int status) {
  if (status == 401 || status == 403 || status == 451) return QStringLiteral("forbidden");
  if (status == 404 || status == 410) return QStringLiteral("not_found");
  if (status >= 500) return QStringLiteral("server_error");
  return QStringLiteral("not_a_playlist");
}

QString reasonOfError(QNetworkReply::NetworkError error) {
  switch (error) {
    case QNetworkReply::ConnectionRefusedError:
    case QNetworkReply::RemoteHostClosedError:
      return QStringLiteral("refused");
    case QNetworkReply::HostNotFoundError:
      return QStringLiteral("not_found");
    case QNetworkReply::TimeoutError:
    case QNetworkReply::OperationCanceledError:
      return QStringLiteral("timed_out");
    case QNetworkReply::TooManyRedirectsError:
    case QNetworkReply::InsecureRedirectError:
      return QStringLiteral("redirect_loop");
    default:
      return QStringLiteral("refused");
  }
}

bool isWebScheme(const QString& address) {
  return address.startsWith(u"http://", Qt::CaseInsensitive) ||
         address.startsWith(u"https://", Qt::CaseInsensitive);
}

}  // namespace

SourceFetch::SourceFetch(QObject* parent)
    : QObject(parent), m_network(new QNetworkAccessManager(this)) {
  m_deadline.setSingleShot(true);
  connect(&m_deadline, &QTimer::timeout, this, [this] {
    SourceAnswer answer;
    answer.reason = QStringLiteral("timed_out");
    finish(answer);
  });
}

void SourceFetch::start(const QString& address, const QString& etag, const QString& lastModified,
                        const QByteArray& userAgent, const Limits& limits) {
  cancel();
  const playlists::StationAddress parsed = playlists::StationAddress::parse(address);
  if (!isWebScheme(parsed.bare)) {
    QTimer::singleShot(0, this, [this] {
      SourceAnswer answer;
      answer.reason = QStringLiteral("not_a_playlist");
      Q_EMIT finished(answer);
    });
    return;
  }
  QNetworkRequest request{QUrl(parsed.bare)};
  request.setHeader(QNetworkRequest::UserAgentHeader, userAgent);
  for (const playlists::RequestHeader& h : parsed.headers) request.setRawHeader(h.name, h.value);
  if (!etag.isEmpty()) request.setRawHeader("If-None-Match", etag.toLatin1());
  if (!lastModified.isEmpty()) request.setRawHeader("If-Modified-Since", lastModified.toLatin1());
  request.setAttribute(QNetworkRequest::RedirectPolicyAttribute,
                       QNetworkRequest::NoLessSafeRedirectPolicy);
  request.setMaximumRedirectsAllowed(limits.maxRedirects);
  request.setTransferTimeout(limits.timeoutMs);
  m_body.clear();
  m_tooLarge = false;
  m_maxBytes = limits.maxBytes;
  m_reply = m_network->get(request);
  connect(m_reply, &QNetworkReply::readyRead, this, &SourceFetch::readSome);
  connect(m_reply, &QNetworkReply::finished, this, [this] { finish(answerOfReply()); });
  m_deadline.start(limits.timeoutMs);
}

void SourceFetch::cancel() {
  m_deadline.stop();
  abandonReply(m_reply, this);
}

// The body is taken as it comes, so a source larger than the limit is never
// held whole.
void SourceFetch::readSome() {
  if (!m_reply) return;
  m_body += m_reply->read(m_maxBytes + 1 - m_body.size());
  if (m_body.size() <= m_maxBytes) return;
  m_tooLarge = true;
  SourceAnswer answer;
  answer.reason = QStringLiteral("too_large");
  finish(answer);
}

SourceAnswer SourceFetch::answerOfReply() {
  readSome();
  SourceAnswer answer;
  if (m_tooLarge) {
    answer.reason = QStringLiteral("too_large");
    return answer;
  }
  answer.httpStatus = m_reply->attribute(QNetworkRequest::HttpStatusCodeAttribute).toInt();
  answer.etag = QString::fromLatin1(m_reply->rawHeader("ETag"));
  answer.lastModified = QString::fromLatin1(m_reply->rawHeader("Last-Modified"));
  if (answer.httpStatus == 304) {
    answer.kind = SourceAnswer::Kind::NotModified;
  } else if (answer.httpStatus >= 400) {
    answer.reason = reasonOfStatus(answer.httpStatus);
  } else if (m_reply->error() != QNetworkReply::NoError) {
    answer.reason = reasonOfError(m_reply->error());
  } else {
    answer.kind = SourceAnswer::Kind::Fetched;
    answer.body = std::move(m_body);
  }
  return answer;
}

void SourceFetch::finish(SourceAnswer answer) {
  cancel();
  Q_EMIT finished(answer);
}
