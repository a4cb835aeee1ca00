#pragma once

#include <QByteArray>
#include <QList>
#include <QObject>
#include <QString>
#include <QStringList>
#include <memory>

#include "engines/source_fetch.h"
#include "history/health_db.h"
#include "library/subscription_list.h"
#include "playlists/station.h"

// The program folder's folder of each source's last good body: an unchanged
// source (304) still gives its lines to the check and the ranked lists.
inline const QString kSubscriptionCache = QStringLiteral("subscriptions");

// What one source of an update came to.
struct SourceReport {
  QString name;
  QString state;  // fetched, not modified, failed (reason)
  int linesRead = 0;
  int added = 0;
  int duplicates = 0;
};

// Brings the station library up to date from the program folder's
// subscription list: fetches its sources one after another (an unchanged one
// answers 304 and gives the lines kept of its last fetch), reads each with
// the playlist readers and adds its new lines to the library in one write.
// The command line and the window both run it; everything it reports comes
// from the event loop.
class SubscriptionUpdate : public QObject {
  Q_OBJECT
 public:
  SubscriptionUpdate(QString dir, QByteArray userAgent, QObject* parent = nullptr);
  ~SubscriptionUpdate() override;

  void setLimits(const SourceFetch::Limits& limits) { m_limits = limits; }
  // Reads the list and fetches its first source. Empty when it started;
  // otherwise, bilingual, why not.
  QString start();
  // Ends the update at the source being fetched, which adds nothing;
  // finished() follows.
  void stop();

  qsizetype sourceCount() const { return m_list.sources.size(); }
  // The list's bad lines, and what became of a damaged history, for the user.
  const QStringList& notes() const { return m_notes; }
  const QList<SourceReport>& reports() const { return m_reports; }
  // The lines every source gave, of whitelisted sources or the others.
  const playlists::StationList& trustedLines() const { return m_trusted; }
  const playlists::StationList& otherLines() const { return m_others; }

 Q_SIGNALS:
  void sourceStarted(int index, const QString& name);
  void sourceDone(const SourceReport& report);
  // error: not empty when the library could not be written (bilingual).
  void finished(const QString& error);

 private:
  void fetchNext();
  void onAnswer(const SourceAnswer& answer);
  // Reads the answer of the current source and records it in the history.
  playlists::StationList take(const SourceAnswer& answer, SourceReport& report);
  void finish(const QString& error);

  const QString m_dir;
  const QByteArray m_userAgent;
  SourceFetch::Limits m_limits;
  library::SubscriptionList m_list;
  QStringList m_notes;
  history::HealthDb m_db;
  std::unique_ptr<SourceFetch> m_fetch;
  history::SourceState m_state;  // of the source being fetched, as the history had it
  qsizetype m_next = 0;
  bool m_running = false;
  QList<SourceReport> m_reports;
  playlists::StationList m_trusted;
  playlists::StationList m_others;
};

