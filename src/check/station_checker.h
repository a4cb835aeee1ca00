#pragma once

#include <QElapsedTimer>
#include <QObject>
#include <QTimer>
#include <deque>
#include <memory>
#include <vector>

#include "form/play_outcome.h"
#include "check/connection_probe.h"
#include "engines/check_player.h"
#include "playlists/station.h"

namespace check {

// How a check runs.
struct CheckLimits {
  int engines = 8;          // players at once
  int probes = 16;          // connection attempts at once, ahead of the players
  int timeoutMs = 15000;    // per station: connection and engine together
  int minPlayMs = 1000;     // decoded media a station must give to pass
  int retries = 0;          // further tries of failed stations, after the others
  int retryPauseMs = 2000;  // before each round of tries again
  bool strict = false;      // silent, black or frozen stations fail
  QByteArray userAgent = useragent::kDefault;  // for stations that name none
};

// Probed stations that may wait for a free player, per connection attempt:
// probing runs this far ahead of the players, so a dead server further down
// the list starts its wait while the players are still busy.
inline constexpr int kWaitingPerProbe = 2;

// The verdict on one station and its evidence.
struct CheckResult {
  Outcome outcome = Outcome::TimedOut;
  int httpStatus = 0;      // the status the server answered with, 0 when none was read
  qint64 msToMedia = -1;   // from the start of the station's check to its first decoded media
  MediaFacts facts;        // of a station that played
  QString variant;         // the variant that played when the address itself did not
  int attempts = 1;
  bool flaky = false;      // passed on a later try

  bool playing() const { return outcome == Outcome::Playing; }
};

// Tests stations with several headless players at once. Each station is
// first probed with a cheap connection attempt; a station the probe cannot
// settle takes a player, and passes once the player has decoded minPlayMs of
// media, all within one time limit (the wait for a free player not counted;
// a plain-http answer's player reads on from the probe's connection). A master
// playlist whose own choice fails is tried variant by variant. Stations are
// taken from the list as places free up, so memory stays flat however long
// the list.
class StationChecker : public QObject {
  Q_OBJECT
 public:
  StationChecker(playlists::StationList stations, const CheckLimits& limits,
                 CheckPlayerFactory players, QObject* parent = nullptr);
  ~StationChecker() override;

  void start();
  // Ends every attempt; nothing more is signalled.
  void stop();
  int doneCount() const { return m_done; }

 Q_SIGNALS:
  // A station's final verdict (after its retries), once per station.
  void stationChecked(int index, const check::CheckResult& result);
  void finished();
  // The engine could not start: the check has stopped, no station was
  // judged by it. Raised once.
  void engineFailed(const QString& message);

 private:
  struct Job;
  struct Slot;

  // Starts stations while there is room, and ends the check or starts the
  // pause before the next round of tries when nothing is left running.
  void pump();
  bool busy() const;
  void startJob(int index, int attempt);
  void onProbed(std::shared_ptr<Job> job, const ProbeResult& probe);
  void dispatch();
  Slot* freeSlot();
  void play(Slot& slot, std::shared_ptr<Job> job);
  void openCandidate(Slot& slot);
  void onStarted(Slot& slot);
  void onDecoded(Slot& slot, qint64 ms);
  void onEnded(Slot& slot, qint64 ms);
  void onFailed(Slot& slot, LoadFailure failure);
  void onDeadline(Slot& slot);
  // The current load was given bytes enough and time, and decoded none.
  bool undecoded(const Slot& slot) const;
  void pass(Slot& slot);
  // The current address failed: the next variant, or the attempt's end.
  void attemptFailed(Slot& slot, Outcome outcome);
  void release(Slot& slot);
  // A station's attempt is over: its verdict, or a place in the next round.
  void finishAttempt(const Job& job, CheckResult result);

  playlists::StationList m_stations;
  CheckLimits m_limits;
  CheckPlayerFactory m_players;
  ConnectionProber m_prober;
  int m_next = 0;        // the first station not yet started
  int m_probing = 0;
  std::deque<std::shared_ptr<Job>> m_ready;  // probed, waiting for a player
  std::deque<std::pair<int, int>> m_again;   // failed: station and its next attempt
  std::deque<std::pair<int, int>> m_round;   // the round of tries again under way
  std::vector<std::unique_ptr<Slot>> m_slots;
  QTimer m_againTimer;
  int m_done = 0;
  bool m_stopped = false;
};

}  // namespace check
