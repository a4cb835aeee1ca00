#include "channels/token_refresher.h"

#include "base/host.h"
#include "channels/token_refresh.h"
#include "history/line_key.h"
#include "search/page_finds.h"

namespace channels {

TokenRefresher::TokenRefresher(Browsers browsers, search::MarkerLists markers, Host& host,
                               Clock clock, QObject* parent)
    : QObject(parent),
      m_browsers(std::move(browsers)),
      m_markers(std::move(markers)),
      m_clock(std::move(clock)) {
  host.attachTimer(m_heartbeat);
  connect(&m_heartbeat, &Timer::tick, this, &TokenRefresher::onHeartbeat);
}

// A host keeps ticking an enabled timer it was given.
TokenRefresher::~TokenRefresher() { m_heartbeat.setEnabled(false); }

bool TokenRefresher::mayRefresh(const QString& line) const {
  if (pageOf(line).isEmpty()) return false;
  const QDateTime last = m_lastTry.value(history::lineKey(line));
  return !last.isValid() || last.msecsTo(m_clock()) >= kLineGapMs;
}

void TokenRefresher::refresh(const QString& line, Done done) {
  m_waiting.push_back({line, std::move(done)});
  if (!m_job) m_heartbeat.setEnabled(true);
}

void TokenRefresher::cancel() {
  m_waiting.clear();
  m_job.reset();
  m_heartbeat.setEnabled(false);
  releaseBrowser();
}

void TokenRefresher::startNext() {
  if (m_waiting.empty()) {
    m_heartbeat.setEnabled(false);
    return releaseBrowser();
  }
  m_job = std::move(m_waiting.front());
  m_waiting.pop_front();
  m_started = m_clock();
  m_loaded = {};
  m_lastTry.insert(history::lineKey(m_job->line), m_started);
  if (!m_browser) {
    m_browser = m_browsers();
    connect(m_browser.get(), &WebBrowser::DocumentComplete, this, &TokenRefresher::onLoaded);
    connect(m_browser.get(), &WebBrowser::NavigateError, this, [this] { finish({}); });
  }
  m_browser->setElementFilter(m_markers.starts.typedItems());
  m_browser->Navigate(pageOf(m_job->line));
}

void TokenRefresher::onLoaded() {
  if (!m_job) return;
  m_loaded = m_clock();
  look();
}

// Runs the queue and the time limits: a refresh starts from here, so done
// never comes from inside refresh().
void TokenRefresher::onHeartbeat() {
  if (!m_job) return startNext();
  if (m_loaded.isValid() && look()) return;
  const QDateTime now = m_clock();
  if ((m_loaded.isValid() && m_loaded.msecsTo(now) >= kSettleMs) ||
      m_started.msecsTo(now) >= kLimitMs)
    finish({});
}

bool TokenRefresher::look() {
  const QStringList finds =
      search::pageAddresses(m_markers, m_browser->document(), m_browser->pageRequests());
  const QString fresh = freshLine(m_job->line, finds);
  if (fresh.isEmpty()) return false;
  finish(fresh);
  return true;
}

void TokenRefresher::finish(const QString& fresh) {
  if (!m_job) return;
  const Done done = std::move(m_job->done);
  m_job.reset();
  m_browser->Stop();
  done(fresh);
}

void TokenRefresher::releaseBrowser() {
  if (!m_browser) return;
  m_browser->disconnect(this);
  m_browser->Stop();
  // It may be raising the signal that brought us here.
  m_browser.release()->deleteLater();
}

}  // namespace channels
