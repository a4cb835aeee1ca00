#include "check/station_checker.h"

namespace check {

namespace {

// At the deadline, a load that decoded nothing though its engine was given
// this much, and had as long as the media asked for, failed on what came,
// not for time: it is no media the engine can decode.
constexpr qint64 kUndecodedBytes = 32 * 1024;

CheckResult resultOf(Outcome outcome) {
  CheckResult r;
  r.outcome = outcome;
  return r;
}

}  // namespace

// One station's attempt: its clock, and the addresses it may play (the
// station's own, then a master playlist's variants). The clock counts the
// station's own time, probe and engine, not the wait for a free engine.
struct StationChecker::Job {
  int index = 0;
  int attempt = 1;
  QElapsedTimer clock;
  qint64 spentMs = 0;
  ProbeResult probe;
  QStringList candidates;
  int candidate = 0;
  bool started = false;
  qint64 openedMs = 0;  // of the current address, on the clock
  qint64 msToMedia = -1;
  std::optional<Outcome> firstFailure;

  qint64 elapsed() const { return spentMs + (clock.isValid() ? clock.elapsed() : 0); }
  void pauseClock() {
    spentMs = elapsed();
    clock.invalidate();
  }
};

// One player and the job it is playing.
struct StationChecker::Slot {
  std::unique_ptr<CheckPlayer> player;
  std::shared_ptr<Job> job;
  QTimer deadline;
};

StationChecker::StationChecker(playlists::StationList stations, const CheckLimits& limits,
                               CheckPlayerFactory players, QObject* parent)
    : QObject(parent),
      m_stations(std::move(stations)),
      m_limits(limits),
      m_players(std::move(players)),
      m_prober(this) {
  m_prober.setUserAgent(limits.userAgent);
  m_againTimer.setSingleShot(true);
  connect(&m_againTimer, &QTimer::timeout, this, [this] {
    m_round.swap(m_again);
    pump();
  });
}

StationChecker::~StationChecker() = default;

void StationChecker::start() {
  if (m_stations.isEmpty()) {
    QMetaObject::invokeMethod(this, &StationChecker::finished, Qt::QueuedConnection);
    return;
  }
  pump();
}

void StationChecker::stop() {
  m_stopped = true;
  m_prober.cancelAll();
  m_ready.clear();
  m_again.clear();
  m_round.clear();
  m_againTimer.stop();
  for (const auto& slot : m_slots) {
    slot->deadline.stop();
    slot->job.reset();
    slot->player->close();
  }
}

bool StationChecker::busy() const {
  if (m_probing > 0 || !m_ready.empty()) return true;
  for (const auto& slot : m_slots)
    if (slot->job) return true;
  return false;
}

void StationChecker::pump() {
  if (m_stopped) return;
  const auto room = [this] {
    return m_probing < m_limits.probes &&
           static_cast<int>(m_ready.size()) < kWaitingPerProbe * m_limits.probes;
  };
  while (room() && m_next < m_stations.size()) startJob(m_next++, 1);
  while (room() && !m_round.empty()) {
    const auto [index, attempt] = m_round.front();
    m_round.pop_front();
    startJob(index, attempt);
  }
  if (busy() || m_next < m_stations.size() || !m_round.empty()) return;
  // Every station has had its try: the failed ones go again after a pause.
  if (!m_again.empty()) {
    if (!m_againTimer.isActive()) m_againTimer.start(m_limits.retryPauseMs);
  } else if (m_done == m_stations.size()) {
    m_stopped = true;
    Q_EMIT finished();
  }
}

void StationChecker::startJob(int index, int attempt) {
  auto job = std::make_shared<Job>();
  job->index = index;
  job->attempt = attempt;
  job->clock.start();
  ++m_probing;
  m_prober.probe(m_stations[index].address, m_limits.timeoutMs, [this, job](const ProbeResult& r) {
    --m_probing;
    onProbed(job, r);
  });
}

void StationChecker::onProbed(std::shared_ptr<Job> job, const ProbeResult& probe) {
  job->probe = probe;
  std::optional<Outcome> settled;
  switch (probe.reach) {
    case ProbeResult::Refused: settled = Outcome::Refused; break;
    case ProbeResult::NotFound: settled = Outcome::NotFound; break;
    case ProbeResult::TimedOut: settled = Outcome::TimedOut; break;
    case ProbeResult::Answered:
      settled = outcomeOfStatus(probe.status);
      if (!settled && probe.body == BodyKind::WebPage) settled = Outcome::NotMedia;
      break;
    case ProbeResult::Untested: break;
  }
  if (settled) {
    finishAttempt(*job, resultOf(*settled));
    return pump();
  }
  job->candidates = QStringList{m_stations[job->index].address} + probe.variants;
  job->pauseClock();
  m_ready.push_back(std::move(job));
  dispatch();
  pump();
}

void StationChecker::dispatch() {
  while (!m_stopped && !m_ready.empty()) {
    Slot* slot = freeSlot();
    if (!slot) return;
    // The station with the least time left goes first: one whose server
    // was slow to answer has no time to wait behind quick ones.
    const auto lessSpent = [](const auto& a, const auto& b) { return a->spentMs < b->spentMs; };
    const auto first = std::max_element(m_ready.begin(), m_ready.end(), lessSpent);
    auto job = std::move(*first);
    m_ready.erase(first);
    play(*slot, std::move(job));
  }
}

StationChecker::Slot* StationChecker::freeSlot() {
  for (const auto& s : m_slots)
    if (!s->job) return s.get();
  if (static_cast<int>(m_slots.size()) >= m_limits.engines) return nullptr;
  auto slot = std::make_unique<Slot>();
  slot->player = m_players();
  if (const QString failure = slot->player->startFailure(); !failure.isEmpty()) {
    stop();
    Q_EMIT engineFailed(failure);
    return nullptr;
  }
  Slot* s = slot.get();
  CheckPlayer* p = s->player.get();
  s->deadline.setSingleShot(true);
  connect(&s->deadline, &QTimer::timeout, this, [this, s] { onDeadline(*s); });
  connect(p, &CheckPlayer::started, this, [this, s] { onStarted(*s); });
  connect(p, &CheckPlayer::decoded, this, [this, s](qint64 ms) { onDecoded(*s, ms); });
  connect(p, &CheckPlayer::ended, this, [this, s](qint64 ms) { onEnded(*s, ms); });
  connect(p, &CheckPlayer::failed, this, [this, s](LoadFailure f) { onFailed(*s, f); });
  m_slots.push_back(std::move(slot));
  return s;
}

void StationChecker::play(Slot& slot, std::shared_ptr<Job> job) {
  job->clock.start();
  const qint64 left = m_limits.timeoutMs - job->elapsed();
  if (left <= 0) return finishAttempt(*job, resultOf(job->firstFailure.value_or(Outcome::TimedOut)));
  slot.job = std::move(job);
  slot.deadline.start(static_cast<int>(left));
  openCandidate(slot);
}

void StationChecker::openCandidate(Slot& slot) {
  Job& job = *slot.job;
  job.started = false;
  job.openedMs = job.elapsed();
  const qint64 left = m_limits.timeoutMs - job.elapsed();
  // Only the station's own address was probed, so only it can be read on.
  auto held = job.candidate == 0 ? std::exchange(job.probe.held, {}) : nullptr;
  slot.player->open(job.candidates.at(job.candidate), static_cast<int>(std::max<qint64>(left, 1)),
                    std::move(held));
}

void StationChecker::onStarted(Slot& slot) {
  if (!slot.job || slot.job->started) return;
  slot.job->started = true;
  if (slot.job->msToMedia < 0) slot.job->msToMedia = slot.job->elapsed();
}

void StationChecker::onDecoded(Slot& slot, qint64 ms) {
  if (slot.job && slot.job->started && ms >= m_limits.minPlayMs) pass(slot);
}

void StationChecker::onEnded(Slot& slot, qint64 ms) {
  if (!slot.job) return;
  if (ms >= m_limits.minPlayMs) return pass(slot);
  // Too little to count: a still image or a stream that closed at once.
  attemptFailed(slot, slot.player->facts().hasMedia() ? Outcome::Dropped : Outcome::BadMedia);
}

void StationChecker::onFailed(Slot& slot, LoadFailure failure) {
  if (!slot.job) return;
  const Job& job = *slot.job;
  Outcome outcome = outcomeOfFailure(failure);
  const BodyKind body = job.probe.body;
  if (job.started) {
    outcome = Outcome::Dropped;
  } else if (failure != LoadFailure::TimedOut &&
             (body == BodyKind::MediaPlaylist || body == BodyKind::MasterPlaylist)) {
    outcome = Outcome::NoSegments;
  } else if (body == BodyKind::Text && outcome == Outcome::BadMedia) {
    outcome = Outcome::NotMedia;
  } else if ((outcome == Outcome::Refused || outcome == Outcome::NotFound) &&
             job.probe.reach == ProbeResult::Answered && job.probe.status / 100 == 2) {
    // The server answered the probe with content: what it sent was no media.
    outcome = Outcome::BadMedia;
  }
  attemptFailed(slot, outcome);
}

void StationChecker::onDeadline(Slot& slot) {
  if (!slot.job) return;
  auto job = slot.job;
  const Outcome outcome = job->firstFailure.value_or(undecoded(slot) ? Outcome::BadMedia
                                                                      : Outcome::TimedOut);
  release(slot);
  finishAttempt(*job, resultOf(outcome));
  pump();
}

bool StationChecker::undecoded(const Slot& slot) const {
  const Job& job = *slot.job;
  return !job.started && job.elapsed() - job.openedMs >= m_limits.minPlayMs &&
         slot.player->receivedBytes() >= kUndecodedBytes;
}

void StationChecker::pass(Slot& slot) {
  auto job = slot.job;
  CheckResult result = resultOf(Outcome::Playing);
  result.facts = slot.player->facts();
  if (!result.facts.hasMedia()) return attemptFailed(slot, Outcome::BadMedia);
  if (m_limits.strict && result.facts.flagged()) result.outcome = Outcome::Flagged;
  result.msToMedia = job->msToMedia;
  if (job->candidate > 0) result.variant = job->candidates.at(job->candidate);
  release(slot);
  finishAttempt(*job, result);
  pump();
}

void StationChecker::attemptFailed(Slot& slot, Outcome outcome) {
  Job& job = *slot.job;
  if (!job.firstFailure) job.firstFailure = outcome;
  if (job.candidate + 1 < job.candidates.size() &&
      job.elapsed() < m_limits.timeoutMs) {
    ++job.candidate;
    slot.player->close();
    return openCandidate(slot);
  }
  auto done = slot.job;
  release(slot);
  finishAttempt(*done, resultOf(*done->firstFailure));
  pump();
}

void StationChecker::release(Slot& slot) {
  slot.deadline.stop();
  slot.job.reset();
  slot.player->close();
  // The next station starts from the event loop, not inside the player's
  // signal that brought this verdict.
  QMetaObject::invokeMethod(
      this,
      [this] {
        dispatch();
        pump();
      },
      Qt::QueuedConnection);
}

void StationChecker::finishAttempt(const Job& job, CheckResult result) {
  if (m_stopped) return;
  result.httpStatus = job.probe.status;
  result.attempts = job.attempt;
  if (!result.playing() && job.attempt <= m_limits.retries) {
    m_again.emplace_back(job.index, job.attempt + 1);
    return;
  }
  result.flaky = result.playing() && job.attempt > 1;
  ++m_done;
  Q_EMIT stationChecked(job.index, result);
}

}  // namespace check
