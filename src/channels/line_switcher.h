#pragma once

#include <QDateTime>
#include <QList>
#include <QObject>
#include <functional>

#include "base/control_models.h"
#include "channels/line_event.h"
#include "form/channel_player.h"
#include "playlists/station.h"

class Host;

namespace history {
class HealthDb;
struct LineVerdict;
}

namespace channels {

class TokenRefresher;

// When a playing line is given up.
struct SwitchLimits {
  int stallMs = 8000;   // no new media for this long, buffering included
  int badMs = 15000;    // black, silent or frozen for this long
  int startMs = 15000;  // no first picture or sound within this long
};

// Plays a channel: its lines one at a time, best first as the health history
// ranks them (list order where it knows none), moving on by itself when the
// line playing fails to start, stalls, or stays black, silent or frozen.
// Every line's outcome goes into the history. With a refresher, a line whose
// token has expired, or that is refused or not found, is first refreshed
// from the page it was found on. Once every line has failed the
// channel stops; a line that plays well for a long while clears the others'
// failures, so a channel that runs for hours may come back to them.
// Picking a line by hand turns switching off until the next channel.
class LineSwitcher : public QObject {
  Q_OBJECT
 public:
  using Clock = std::function<QDateTime()>;
  // A line that has played this much good media clears the failures of the
  // others.
  static constexpr qint64 kFreshRoundMs = 120'000;
  static constexpr int kHeartbeatMs = 250;

  // The host makes the heartbeat tick; clock gives the time of verdicts and
  // of the limits.
  LineSwitcher(ChannelPlayer& player, Host& host, history::HealthDb& history,
               Clock clock = &QDateTime::currentDateTimeUtc, QObject* parent = nullptr);
  ~LineSwitcher() override;

  void setLimits(const SwitchLimits& limits) { m_limits = limits; }
  // Whether a channel switches lines by itself; read when a channel starts.
  void setSwitching(bool on) { m_switchingWanted = on; }
  // Whether starts and the engine's failures go into the history here; off
  // where the engine's own events are recorded already.
  void setEngineVerdicts(bool on) { m_engineVerdicts = on; }
  // Lines are refreshed through refresher (null: never).
  void setRefresher(TokenRefresher* refresher) { m_refresher = refresher; }

  // Plays the channel's lines (each line once), starting with the best.
  void playChannel(const playlists::StationList& lines);
  // Plays line number (from 1) and stays on it.
  void pickLine(int number);
  // Plays the line step places on, round the channel's end, and stays on it.
  void stepLine(int step);
  void stop();

  // The channel's lines in their order, and the number (from 1) of the one
  // playing or chosen; 0 when none.
  const playlists::StationList& lines() const { return m_lines; }
  int current() const { return m_current + 1; }
  bool switching() const { return m_switching; }
  // Media played while nothing was flagged, over the whole channel.
  qint64 goodMs() const { return m_goodMs; }

 Q_SIGNALS:
  void event(const channels::LineEvent& event);
  // The good media played grew.
  void playedGood(qint64 totalMs);

 private:
  // What the line playing has done so far.
  struct Playing {
    bool active = false;
    bool started = false;
    QDateTime since;         // play() of the line
    QDateTime lastMedia;     // the last new media (or the start)
    qint64 position = -1;
    qint64 goodMs = 0;
    QList<std::pair<MediaFlag, qint64>> flags;  // those that hold, and for how long
    bool stallTold = false;
    bool flagTold = false;
  };

  void rank();
  // Plays the line, its token refreshed first when it has expired.
  void playLine(int index);
  void startPlayer();
  // Refreshes the line playing; then plays the fresh line, or calls
  // onNothing when the page gave none.
  void refreshLine(std::function<void()> onNothing);
  void onStarted();
  void onProgress(qint64 positionMs);
  void onFlagged(MediaFlag flag, qint64 lastingMs);
  void onFailed(const QString& reason, int httpStatus);
  void onHeartbeat();
  // The line playing is given up: told and recorded, then the next one plays.
  void leaveLine(const LineEvent& told, bool flagged, bool recorded = true);
  void moveOn(const LineEvent& why);
  int nextUntried() const;
  void clearOtherFailures();
  LineEvent eventOf(LineEvent::Kind kind) const;
  void tell(const LineEvent& e);
  void record(history::LineVerdict verdict);
  void recordPlaying(qint64 firstFrameMs);
  void recordFailure(const LineEvent& e, bool flagged);
  qint64 msSince(const QDateTime& t) const { return t.msecsTo(m_clock()); }

  ChannelPlayer& m_player;
  TokenRefresher* m_refresher = nullptr;
  history::HealthDb& m_history;
  Clock m_clock;
  Timer m_heartbeat{QStringLiteral("LineSwitchTimer"), kHeartbeatMs, false};
  SwitchLimits m_limits;
  bool m_switchingWanted = true;
  bool m_engineVerdicts = true;
  bool m_switching = true;
  playlists::StationList m_lines;
  QList<bool> m_failed;
  int m_current = -1;
  Playing m_playing;
  // Bumped by every start and stop, so a step knows when an event's handler
  // has changed what plays.
  quint64 m_generation = 0;
  qint64 m_goodMs = 0;
};

}  // namespace channels
