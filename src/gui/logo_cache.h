#pragma once

#include <QDir>
#include <QHash>
#include <QIcon>
#include <QObject>
#include <QSet>
#include <QStringList>

struct SourceAnswer;

// Channels' logos (tvg-logo), fetched once over http or https into the
// program folder's logos/ and read from there ever after. A logo is small:
// a larger answer, one that is no image, another scheme (a local file
// never) or a failed fetch gives no logo, and is not asked for again while
// the program runs.
class LogoCache : public QObject {
  Q_OBJECT
 public:
  static constexpr qint64 kMaxBytes = 256 * 1024;
  static constexpr int kPixels = 32;  // the side of a logo as kept and shown
  inline static const QString kFolder = QStringLiteral("logos");

  explicit LogoCache(const QString& programDir, QObject* parent = nullptr);

  // The logo at address when it is here; otherwise an empty icon, and its
  // fetch is started.
  QIcon icon(const QString& address);
  // Where the logo of address is kept.
  QString fileOf(const QString& address) const;

 Q_SIGNALS:
  // The logo of address has come.
  void arrived(const QString& address);

 private:
  void startWaiting();
  void fetched(const QString& address, const SourceAnswer& answer);

  QDir m_dir;
  QByteArray m_userAgent;
  QHash<QString, QIcon> m_icons;
  QSet<QString> m_asked;  // waiting, fetching, failed or here
  QStringList m_waiting;
  int m_fetching = 0;
};
