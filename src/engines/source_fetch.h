#pragma once

#include <QByteArray>
#include <QElapsedTimer>
#include <QObject>
#include <QPointer>
#include <QString>
#include <QTimer>

class QNetworkAccessManager;
class QNetworkReply;

// What fetching one subscription source came to.
struct SourceAnswer {
  enum class Kind { Fetched, NotModified, Failed };
  Kind kind = Kind::Failed;
  QString reason;  // when failed: refused, not_found, forbidden, server_error, timed_out,
                   // too_large, redirect_loop, not_a_playlist
  int httpStatus = 0;
  QByteArray body;  // decompressed
  QString etag;
  QString lastModified;
};

// Fetches a list address over http(s) as a subscription source: a
// conditional request with the ETag and Last-Modified of the last fetch,
// gzip accepted, redirects limited, and the body cut off at a size and a
// time limit, so an endless or huge source ends with a reason and bounded
// memory. Answers later from the event loop, never from within start().
class SourceFetch : public QObject {
  Q_OBJECT
 public:
  struct Limits {
    qint64 maxBytes = 50LL * 1024 * 1024;
    int timeoutMs = 60'000;  // the whole fetch
    int maxRedirects = 5;
  };

  explicit SourceFetch(QObject* parent = nullptr);

  // address: the source's whole text, headers after "|".
  void start(const QString& address, const QString& etag, const QString& lastModified,
             const QByteArray& userAgent, const Limits& limits);
  void cancel();

 Q_SIGNALS:
  void finished(const SourceAnswer& answer);

 private:
  void readSome();
  void finish(SourceAnswer answer);
  SourceAnswer answerOfReply();

  QNetworkAccessManager* m_network = nullptr;
  QPointer<QNetworkReply> m_reply;
  QTimer m_deadline;
  QByteArray m_body;
  qint64 m_maxBytes = 0;
  bool m_tooLarge = false;
};
