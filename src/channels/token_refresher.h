#pragma once

#include <QDateTime>
#include <QHash>
#include <QObject>
#include <QPointer>
#include <deque>
#include <functional>
#include <memory>

#include "base/control_models.h"
#include "form/web_browser.h"
#include "search/marker_lists.h"

class Host;

namespace channels {

// Loads a line's page again in a browser of its own, scans it as the web
// search scans a page, and finds the line's new address there (see
// freshLine). One page at a time in one browser, made when needed and let
// go when nothing waits; a line is refreshed at most once a minute.
class TokenRefresher : public QObject {
  Q_OBJECT
 public:
  using Browsers = std::function<std::unique_ptr<WebBrowser>()>;
  using Clock = std::function<QDateTime()>;
  // The new address, or "" when the page gave none.
  using Done = std::function<void(const QString& freshLine)>;

  static constexpr qint64 kLineGapMs = 60'000;
  // After the page has loaded, how long its own requests are awaited.
  static constexpr int kSettleMs = 3000;
  // A refresh that takes longer is given up.
  static constexpr int kLimitMs = 30'000;
  static constexpr int kHeartbeatMs = 250;

  TokenRefresher(Browsers browsers, search::MarkerLists markers, Host& host,
                 Clock clock = &QDateTime::currentDateTimeUtc, QObject* parent = nullptr);
  ~TokenRefresher() override;

  // The marker lists the next pages are scanned with.
  void setMarkers(search::MarkerLists markers) { m_markers = std::move(markers); }
  // The line has a page and was not refreshed within the last minute.
  bool mayRefresh(const QString& line) const;
  // Queues the line's refresh; done comes from the event loop, never from
  // inside this call.
  void refresh(const QString& line, Done done);
  // Drops the refresh under way and those waiting; their done never comes.
  void cancel();

 private:
  struct Job {
    QString line;
    Done done;
  };

  void startNext();
  void onLoaded();
  void onHeartbeat();
  // The page's finds so far hold the line's new address.
  bool look();
  void finish(const QString& fresh);
  void releaseBrowser();

  Browsers m_browsers;
  search::MarkerLists m_markers;
  Clock m_clock;
  Timer m_heartbeat{QStringLiteral("TokenRefreshTimer"), kHeartbeatMs, false};
  std::unique_ptr<WebBrowser> m_browser;
  std::deque<Job> m_waiting;
  std::optional<Job> m_job;
  QDateTime m_started;
  QDateTime m_loaded;  // invalid until the page has loaded
  QHash<QString, QDateTime> m_lastTry;  // by line key
};

}  // namespace channels
