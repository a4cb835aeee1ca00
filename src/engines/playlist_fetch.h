#pragma once

#include <QObject>
#include <QPointer>
#include <QString>

#include "engines/mpv_failure.h"
#include "playlists/station_address.h"

class QNetworkAccessManager;
class QNetworkReply;

// Reads the text of a reference list from a local file or an http address.
// Always answers later from the event loop, never from within start().
class PlaylistFetch : public QObject {
  Q_OBJECT
 public:
  explicit PlaylistFetch(QObject* parent = nullptr);

  // Starts reading the bare address with the station's headers; the
  // station's own User-Agent wins over userAgent. A running read is
  // abandoned first.
  void start(const playlists::StationAddress& address, int timeoutMs, const QByteArray& userAgent);
  // Abandons a running read: no signal follows.
  void cancel();

  // A list is small; more than this is not a list.
  static constexpr qint64 kMaxBytes = 256 * 1024;

 Q_SIGNALS:
  // finalAddress is where the text came from after redirects.
  void fetched(const QString& text, const QString& finalAddress);
  void failed(LoadFailure failure);

 private:
  void readLocal(const QString& address);
  void finishReply();

  QNetworkAccessManager* m_network = nullptr;
  QPointer<QNetworkReply> m_reply;
  quint64 m_request = 0;
};
