#include "check/station_checker.h"

#include <mpv/client.h>

#include "engines/mpv_media_player.h"

namespace check {

namespace {

// The engine's own start limit stays behind ours, so our verdict comes first.
constexpr int kEngineGraceMs = 1000;

// Engine settings for checking, set through the handle.
constexpr char kReadAhead[] = "demuxer-max-bytes";
constexpr char kKeptBehind[] = "demuxer-max-back-bytes";
constexpr char kCoverArt[] = "audio-display";

// Checking only needs the first second of a stream: keep each engine's
// read-ahead small, so many engines at once stay light.
void limitBuffers(mpv_handle* handle) {
  if (!handle) return;
  mpv_set_property_string(handle, kReadAhead, "4MiB");
  mpv_set_property_string(handle, kKeptBehind, "0");
  mpv_set_property_string(handle, kCoverArt, "no");
}

}  // namespace

// One engine and the station it is testing.
struct StationChecker::Slot {
  std::unique_ptr<MpvMediaPlayer> engine;
  int station = -1;
  QTimer limit;
  QElapsedTimer clock;
};

StationChecker::StationChecker(const playlists::StationList& stations, const Limits& limits, QObject* parent)
    : QObject(parent),
      m_stations(stations),
      m_limits(limits),
      m_prober(limits.probes, limits.timeoutMs, this),
      m_results(stations.size()) {
  m_prober.setUserAgent(limits.userAgent);
}

StationChecker::~StationChecker() = default;

void StationChecker::start() {
  if (m_stations.isEmpty()) {
    QMetaObject::invokeMethod(this, &StationChecker::finished, Qt::QueuedConnection);
    return;
  }
  for (int i = 0; i < m_stations.size(); ++i)
    m_prober.probe(m_stations[i].address, [this, i](const ProbeResult& r) { onProbed(i, r); });
}

void StationChecker::onProbed(int index, const ProbeResult& probe) {
  if (const auto verdict = verdictOf(probe)) return settle(index, {*verdict, -1, {}});
  m_ready.push_back(index);
  fillSlots();
}

void StationChecker::fillSlots() {
  while (!m_ready.empty()) {
    Slot* slot = freeSlot();
    if (!slot) return;
    const int index = m_ready.front();
    m_ready.pop_front();
    play(*slot, index);
  }
}

StationChecker::Slot* StationChecker::freeSlot() {
  for (const auto& s : m_slots)
    if (s->station < 0) return s.get();
  if (static_cast<int>(m_slots.size()) >= m_limits.engines) return nullptr;
  auto slot = std::make_unique<Slot>();
  MpvOptions options;
  options.startTimeoutMs = m_limits.timeoutMs + kEngineGraceMs;
  options.networkTimeoutMs = m_limits.timeoutMs;
  options.userAgent = m_limits.userAgent;
  slot->engine = std::make_unique<MpvMediaPlayer>(options);
  limitBuffers(slot->engine->handle());
  slot->limit.setSingleShot(true);
  slot->limit.setInterval(m_limits.timeoutMs);
  Slot* s = slot.get();
  connect(&s->limit, &QTimer::timeout, this, [this, s] {
    const int index = s->station;
    release(*s);
    settle(index, {Verdict::TimedOut, -1, {}});
  });
  connect(s->engine.get(), &MediaPlayer::PlayStateChange, this,
          [this, s](int state) { onPlayState(*s, state); });
  connect(&s->engine->session(), &MpvSession::failed, this,
          [this, s](LoadFailure failure) { onFailed(*s, failure); });
  m_slots.push_back(std::move(slot));
  return s;
}

void StationChecker::play(Slot& slot, int index) {
  slot.station = index;
  slot.clock.start();
  slot.limit.start();
  slot.engine->setURL(m_stations[index].address);
}

void StationChecker::onPlayState(Slot& slot, int state) {
  if (slot.station < 0 || state != MediaPlayer::Playing) return;
  const int index = slot.station;
  const CheckResult result{Verdict::Playing, slot.clock.elapsed(),
                           readMediaInfo(slot.engine->handle())};
  release(slot);
  settle(index, result);
}

void StationChecker::onFailed(Slot& slot, LoadFailure failure) {
  if (slot.station < 0) return;
  const int index = slot.station;
  release(slot);
  settle(index, {verdictOf(failure), -1, {}});
}

void StationChecker::release(Slot& slot) {
  slot.limit.stop();
  slot.station = -1;
  slot.engine->close();
  // The next station starts from the event loop, not inside the engine's
  // signal that brought this verdict.
  QMetaObject::invokeMethod(this, &StationChecker::fillSlots, Qt::QueuedConnection);
}

void StationChecker::settle(int index, const CheckResult& result) {
  m_results[index] = result;
  ++m_done;
  Q_EMIT stationChecked(index);
  if (m_done == m_stations.size()) Q_EMIT finished();
}

}  // namespace check
