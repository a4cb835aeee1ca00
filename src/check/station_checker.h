#pragma once

#include <QElapsedTimer>
#include <QList>
#include <QObject>
#include <QTimer>
#include <deque>
#include <memory>
#include <optional>

#include "check/check_verdict.h"
#include "check/connection_probe.h"
#include "check/media_info.h"
#include "playlists/station.h"

class MpvMediaPlayer;

namespace check {

struct CheckResult {
  Verdict verdict = Verdict::TimedOut;
  qint64 msToPlay = -1;  // from the engine's start to the playing state
  MediaInfo info;
};

// Tests stations with several headless media players at once. Every station
// is first probed with a cheap connection attempt (many at once); only those
// that answer take an engine, and a station passes only when its engine
// reaches the playing state within the time limit.
class StationChecker : public QObject {
  Q_OBJECT
 public:
  struct Limits {
    int engines = 8;
    int timeoutMs = 15000;
    int probes = 256;  // connection attempts at once
    QByteArray userAgent = useragent::kDefault;  // for stations that name none
  };

  StationChecker(const playlists::StationList& stations, const Limits& limits, QObject* parent = nullptr);
  ~StationChecker() override;

  void start();
  const playlists::StationList& stations() const { return m_stations; }
  // The result of a station, once it is known.
  const std::optional<CheckResult>& result(int index) const { return m_results.at(index); }
  int doneCount() const { return m_done; }

 Q_SIGNALS:
  void stationChecked(int index);
  void finished();

 private:
  struct Slot;

  void onProbed(int index, const ProbeResult& probe);
  void fillSlots();
  Slot* freeSlot();
  void play(Slot& slot, int index);
  void onPlayState(Slot& slot, int state);
  void onFailed(Slot& slot, LoadFailure failure);
  void release(Slot& slot);
  void settle(int index, const CheckResult& result);

  playlists::StationList m_stations;
  Limits m_limits;
  ConnectionProber m_prober;
  QList<std::optional<CheckResult>> m_results;
  std::deque<int> m_ready;  // answered, waiting for an engine
  std::vector<std::unique_ptr<Slot>> m_slots;
  int m_done = 0;
};

}  // namespace check
