#include "channels/line_switcher.h"

#include <algorithm>

#include "base/host.h"
#include "channels/ranked_channels.h"
#include "channels/token_refresh.h"
#include "channels/token_refresher.h"
#include "form/play_outcome.h"
#include "history/health_db.h"
#include "history/line_key.h"

namespace channels {

namespace {

// A position that jumps further than this is a new timeline (a stream that
// restarted), not media played.
constexpr qint64 kLargestStepMs = 5000;

}  // namespace

LineSwitcher::LineSwitcher(ChannelPlayer& player, Host& host, history::HealthDb& history,
                           Clock clock, QObject* parent)
    : QObject(parent), m_player(player), m_history(history), m_clock(std::move(clock)) {
  host.attachTimer(m_heartbeat);
  connect(&m_heartbeat, &Timer::tick, this, &LineSwitcher::onHeartbeat);
  connect(&player, &ChannelPlayer::started, this, &LineSwitcher::onStarted);
  connect(&player, &ChannelPlayer::progressed, this, &LineSwitcher::onProgress);
  connect(&player, &ChannelPlayer::flagged, this, &LineSwitcher::onFlagged);
  connect(&player, &ChannelPlayer::failed, this, &LineSwitcher::onFailed);
}

// A host keeps ticking an enabled timer it was given.
LineSwitcher::~LineSwitcher() { m_heartbeat.setEnabled(false); }

void LineSwitcher::playChannel(const playlists::StationList& lines) {
  stop();
  m_lines = lines;
  m_failed = QList<bool>(m_lines.size(), false);
  m_switching = m_switchingWanted;
  m_goodMs = 0;
  m_current = -1;
  if (m_lines.isEmpty()) return;
  rank();
  playLine(0);
  tell(eventOf(LineEvent::Kind::Chosen));
}

void LineSwitcher::pickLine(int number) {
  if (number < 1 || number > m_lines.size()) return;
  stop();
  m_switching = false;
  playLine(number - 1);
  LineEvent e = eventOf(LineEvent::Kind::Chosen);
  e.byHand = true;
  tell(e);
}

void LineSwitcher::stepLine(int step) {
  const int count = static_cast<int>(m_lines.size());
  if (count == 0) return;
  pickLine(((std::max(m_current, 0) + step) % count + count) % count + 1);
}

void LineSwitcher::stop() {
  ++m_generation;
  m_heartbeat.setEnabled(false);
  if (m_refresher) m_refresher->cancel();
  if (!m_playing.active) return;
  m_playing.active = false;
  m_player.stop();
}

void LineSwitcher::rank() {
  QStringList keys;
  for (const playlists::Station& s : m_lines) keys << history::lineKey(s.address);
  const QHash<QString, history::LineSummary> known = m_history.summaries(keys);
  QList<LineRecord> records;
  for (const QString& key : keys) {
    const auto it = known.constFind(key);
    records << (it == known.cend() ? LineRecord{} : lineRecordOf(*it));
  }
  playlists::StationList ranked;
  for (int i : orderLines(records, m_clock(), true)) ranked << m_lines.at(i);
  m_lines = ranked;
}

void LineSwitcher::playLine(int index) {
  m_current = index;
  m_playing = {};
  const QString& line = m_lines.at(index).address;
  if (m_refresher && hasExpired(line, m_clock()) && m_refresher->mayRefresh(line))
    return refreshLine([this] { startPlayer(); });
  startPlayer();
}

void LineSwitcher::startPlayer() {
  m_playing = {};
  m_playing.active = true;
  m_playing.since = m_playing.lastMedia = m_clock();
  m_heartbeat.setEnabled(true);
  m_player.play(m_lines.at(m_current).address);
}

void LineSwitcher::refreshLine(std::function<void()> onNothing) {
  const quint64 generation = m_generation;
  const int index = m_current;
  m_refresher->refresh(m_lines.at(index).address, [=, this](const QString& fresh) {
    if (generation != m_generation) return;
    if (fresh.isEmpty()) return onNothing();
    LineEvent e = eventOf(LineEvent::Kind::Refreshed);
    e.previousAddress = e.address;
    e.address = m_lines[index].address = fresh;
    history::LineVerdict v;
    v.line = history::lineKey(fresh);
    v.outcome = history::outcome::kRefresh;
    record(v);
    startPlayer();
    tell(e);
  });
}

void LineSwitcher::onStarted() {
  if (!m_playing.active || m_playing.started) return;
  m_playing.started = true;
  m_playing.lastMedia = m_clock();
  if (m_engineVerdicts) recordPlaying(msSince(m_playing.since));
  tell(eventOf(LineEvent::Kind::Started));
}

void LineSwitcher::onProgress(qint64 positionMs) {
  if (!m_playing.active || !m_playing.started) return;
  const qint64 step = m_playing.position < 0 ? 0 : positionMs - m_playing.position;
  m_playing.position = positionMs;
  if (step <= 0) return;
  m_playing.lastMedia = m_clock();
  m_playing.stallTold = false;
  if (step > kLargestStepMs || !m_playing.flags.isEmpty()) return;
  m_goodMs += step;
  const bool wasShort = m_playing.goodMs < kFreshRoundMs;
  m_playing.goodMs += step;
  if (wasShort && m_playing.goodMs >= kFreshRoundMs) clearOtherFailures();
  Q_EMIT playedGood(m_goodMs);
}

void LineSwitcher::onFlagged(MediaFlag flag, qint64 lastingMs) {
  if (!m_playing.active) return;
  auto& flags = m_playing.flags;
  flags.removeIf([flag](const auto& f) { return f.first == flag; });
  if (lastingMs > 0) flags.append({flag, lastingMs});
  if (flags.isEmpty()) m_playing.flagTold = false;
  if (lastingMs < m_limits.badMs || m_playing.flagTold) return;
  LineEvent e = eventOf(LineEvent::Kind::Flagged);
  e.reason = check::reasonKey(check::Outcome::Flagged);
  e.flag = flag;
  e.ms = lastingMs;
  leaveLine(e, true);
}

void LineSwitcher::onFailed(const QString& reason, int httpStatus) {
  if (!m_playing.active) return;
  // The engine gives up on a line it has waited for: it may know why.
  LineEvent e = eventOf(LineEvent::Kind::Failed);
  e.reason = reason;
  e.httpStatus = httpStatus;
  m_playing.active = false;
  leaveLine(e, false, m_engineVerdicts);
}

void LineSwitcher::onHeartbeat() {
  if (!m_playing.active) return;
  if (!m_playing.started) {
    if (msSince(m_playing.since) < m_limits.startMs) return;
    LineEvent e = eventOf(LineEvent::Kind::Failed);
    e.reason = check::reasonKey(check::Outcome::TimedOut);
    m_playing.active = false;
    m_player.stop();
    return leaveLine(e, false);
  }
  const qint64 still = msSince(m_playing.lastMedia);
  if (still < m_limits.stallMs || m_playing.stallTold) return;
  LineEvent e = eventOf(LineEvent::Kind::Stalled);
  e.reason = check::reasonKey(check::Outcome::Stalled);
  e.ms = still;
  leaveLine(e, false);
}

void LineSwitcher::leaveLine(const LineEvent& told, bool flagged, bool recorded) {
  if (recorded) recordFailure(told, flagged);
  // Without switching the line is only told of; it plays on unless the
  // engine gave it up.
  if (!m_switching && m_playing.active) {
    (flagged ? m_playing.flagTold : m_playing.stallTold) = true;
    return tell(told);
  }
  const QString& line = m_lines.at(m_current).address;
  const bool mendable = m_refresher && told.kind == LineEvent::Kind::Failed &&
                        mayMendFailure(told.reason, told.httpStatus) &&
                        m_refresher->mayRefresh(line);
  stop();
  const quint64 generation = m_generation;
  tell(told);
  // A handler that started or stopped a line has decided what plays.
  if (generation != m_generation) return;
  const auto giveUpLine = [this, told] {
    m_failed[m_current] = true;
    if (m_switching) moveOn(told);
  };
  if (mendable) return refreshLine(giveUpLine);
  giveUpLine();
}

void LineSwitcher::moveOn(const LineEvent& why) {
  const int next = nextUntried();
  LineEvent e = why;
  if (next < 0) {
    e.kind = LineEvent::Kind::GaveUp;
    return tell(e);
  }
  e.kind = LineEvent::Kind::Switched;
  e.from = m_current + 1;
  playLine(next);
  e.number = m_current + 1;
  e.address = m_lines.at(m_current).address;
  tell(e);
}

int LineSwitcher::nextUntried() const {
  const int count = static_cast<int>(m_lines.size());
  for (int i = 1; i <= count; ++i) {
    const int index = (m_current + i) % count;
    if (!m_failed.at(index)) return index;
  }
  return -1;
}

void LineSwitcher::clearOtherFailures() { m_failed.fill(false); }

LineEvent LineSwitcher::eventOf(LineEvent::Kind kind) const {
  LineEvent e;
  e.kind = kind;
  e.number = m_current + 1;
  e.lines = static_cast<int>(m_lines.size());
  if (m_current >= 0) e.address = m_lines.at(m_current).address;
  return e;
}

void LineSwitcher::tell(const LineEvent& e) { Q_EMIT event(e); }

void LineSwitcher::record(history::LineVerdict verdict) {
  verdict.time = m_clock();
  verdict.source = history::source::kPlay;
  // The history is a help, not a condition of playing.
  (void)m_history.record(verdict);
}

void LineSwitcher::recordPlaying(qint64 firstFrameMs) {
  history::LineVerdict v;
  v.line = history::lineKey(m_lines.at(m_current).address);
  v.outcome = history::outcome::kPlaying;
  v.firstFrameMs = firstFrameMs;
  record(v);
}

void LineSwitcher::recordFailure(const LineEvent& e, bool flagged) {
  history::LineVerdict v;
  v.line = history::lineKey(m_lines.at(m_current).address);
  v.outcome = history::outcome::kFailed;
  v.reason = e.reason;
  v.httpStatus = e.httpStatus;
  if (flagged)
    for (const auto& [flag, ms] : m_playing.flags) {
      if (ms < m_limits.badMs) continue;
      v.black |= flag == MediaFlag::Black;
      v.silent |= flag == MediaFlag::Silent;
      v.frozen |= flag == MediaFlag::Frozen;
    }
  record(v);
}

}  // namespace channels
