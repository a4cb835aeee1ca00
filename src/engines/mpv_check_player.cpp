#include "engines/mpv_check_player.h"

#include <mpv/stream_cb.h>

#include "engines/mpv_detectors.h"
#include "engines/mpv_names.h"

using namespace mpvname;

namespace {

// The engine's own start limit stays behind the checker's, so the checker's
// verdict comes first.
constexpr int kEngineGraceMs = 1000;
// decoded() is raised at most once per this much new media.
constexpr qint64 kReportStepMs = 100;
// The report the checker judges by waits this long at most for the
// findings asked for: a busy engine answers late, and the station's time runs.
constexpr int kFindingsWaitMs = 250;

// Addresses of held connections: "nettv-held://<n>".
constexpr char kHeldProtocol[] = "nettv-held";

using HeldCookie = std::shared_ptr<HeldStream>;

HeldStream& heldOf(void* cookie) { return **static_cast<HeldCookie*>(cookie); }

// Detectors need a run shorter than the media the checker asks for.
int detectorRunMs(int minPlayMs) { return std::max(100, minPlayMs / 2); }

MpvOptions checkOptions(int minPlayMs, const QByteArray& userAgent) {
  MpvOptions o;
  o.userAgent = userAgent;
  o.reportProgress = true;
  o.observeFacts = true;
  o.extra = {
      {kUntimed, "yes"},
      {kNullAudioUntimed, "yes"},
      {kKeepOpen, "yes"},
      {kReadAheadBytes, "1MiB"},
      {kKeptBehindBytes, "0"},
      {kReadAheadSeconds, "1"},
      {kCache, "no"},
      {kCoverArt, "no"},
      {kCoverArtFiles, "no"},
      {kSubtitleFiles, "no"},
      {kAudioFiles, "no"},
      {kHardwareDecoding, "no"},
      {kVideoThreads, "1"},
      {kAudioThreads, "1"},
      {kVideoFastDecode, "yes"},
      {kVideoSkipLoopFilter, "all"},
  };
  o.extra += mpvdetect::filterOptions(detectorRunMs(minPlayMs));
  return o;
}

}  // namespace

MpvCheckPlayer::MpvCheckPlayer(int minPlayMs, const QByteArray& userAgent, QObject* parent)
    : m_session(checkOptions(minPlayMs, userAgent), this), m_minPlayMs(minPlayMs),
      m_detectorRunMs(detectorRunMs(minPlayMs)) {
  setParent(parent);
  connect(&m_session, &MpvSession::reported, this, [this](MpvReport report) {
    if (report != MpvReport::Playing || m_started) return;
    m_started = true;
    if (m_decodedMs >= kReportStepMs) postReport();
    Q_EMIT started();
  });
  connect(&m_session, &MpvSession::failed, this, &CheckPlayer::failed);
  connect(&m_session, &MpvSession::progressed, this, &MpvCheckPlayer::onProgress);
  connect(&m_session, &MpvSession::endReached, this, &MpvCheckPlayer::onEnd);
  connect(&m_session, &MpvSession::factsCleared, this, [this] { m_facts.clear(); });
  connect(&m_session, &MpvSession::findingsCurrent, this, [this] {
    m_findingsPending = false;
    if (m_findingsWait.isActive()) deliverReport();
  });
  m_findingsWait.setSingleShot(true);
  m_findingsWait.setInterval(kFindingsWaitMs);
  connect(&m_findingsWait, &QTimer::timeout, this, &MpvCheckPlayer::deliverReport);
  connect(&m_session, &MpvSession::observed, this,
          [this](quint64 which, const QVariant& value) { m_facts.take(which, value); });
  m_session.addStreamProtocol(kHeldProtocol, this, &openHeld);
}

// The session ends its mpv threads, which may wait on a held stream.
MpvCheckPlayer::~MpvCheckPlayer() { releaseHeld(); }

int MpvCheckPlayer::openHeld(void* self, char* uri, mpv_stream_cb_info* info) {
  HeldCookie held = static_cast<MpvCheckPlayer*>(self)->heldFor(uri);
  if (!held) return MPV_ERROR_LOADING_FAILED;
  info->cookie = new HeldCookie(std::move(held));
  info->read_fn = [](void* cookie, char* buffer, uint64_t size) -> int64_t {
    return heldOf(cookie).read(buffer, static_cast<qint64>(std::min<uint64_t>(size, INT32_MAX)));
  };
  info->size_fn = [](void* cookie) -> int64_t { return heldOf(cookie).size(); };
  // mpv takes a stream without seek_fn as one to read straight through.
  if (heldOf(info->cookie).seekable())
    info->seek_fn = [](void* cookie, int64_t offset) -> int64_t {
      return heldOf(cookie).seek(offset) ? offset : int64_t{MPV_ERROR_GENERIC};
    };
  // No cancel_fn: mpv may call it after close_fn. close() and the next
  // open() end a waiting read themselves.
  info->close_fn = [](void* cookie) { delete static_cast<HeldCookie*>(cookie); };
  return 0;
}

std::shared_ptr<HeldStream> MpvCheckPlayer::heldFor(const QByteArray& uri) {
  const std::lock_guard lock(m_heldLock);
  return uri == m_heldUri ? m_held : nullptr;
}

void MpvCheckPlayer::releaseHeld() {
  const std::lock_guard lock(m_heldLock);
  if (m_held) m_held->cancel();
  m_held.reset();
}

CheckPlayerFactory MpvCheckPlayer::factory(int minPlayMs, const QByteArray& userAgent) {
  return [minPlayMs, userAgent] { return std::make_unique<MpvCheckPlayer>(minPlayMs, userAgent); };
}

QString MpvCheckPlayer::startFailure() const {
  if (m_session.started()) return {};
  return QStringLiteral("播放引擎 libmpv 无法启动 / the media engine (libmpv) could not start: %1")
      .arg(m_session.startError());
}

void MpvCheckPlayer::open(const QString& address, int timeoutMs,
                          std::shared_ptr<HeldStream> held) {
  forgetLoad();
  m_session.setNetworkTimeout(timeoutMs);
  m_session.setStartTimeout(timeoutMs + kEngineGraceMs);
  releaseHeld();
  if (!held) return m_session.load(playlists::StationAddress::parse(address));
  {
    const std::lock_guard lock(m_heldLock);
    m_held = std::move(held);
    m_heldUri = QByteArray(kHeldProtocol) + "://" + QByteArray::number(++m_heldCount);
  }
  m_session.load(playlists::StationAddress{QString::fromLatin1(m_heldUri), {}});
}

void MpvCheckPlayer::close() {
  releaseHeld();
  m_session.stop();
  forgetLoad();
}

void MpvCheckPlayer::forgetLoad() {
  ++m_load;
  m_started = false;
  m_ended = false;
  m_reportPosted = false;
  m_findingsWait.stop();
  m_findingsAsked = false;
  m_findingsPending = false;
  m_decodedMs = 0;
  m_reportedMs = -1;
  m_facts.clear();
}

MediaFacts MpvCheckPlayer::facts() const {
  MediaFacts facts = m_facts.facts();
  const std::lock_guard lock(m_heldLock);
  facts.downloadSpeed = m_held ? m_held->bitsPerSecond() : m_facts.inputRate();
  return facts;
}

qint64 MpvCheckPlayer::receivedBytes() const {
  const std::lock_guard lock(m_heldLock);
  return m_held ? m_held->received() : 0;
}

void MpvCheckPlayer::onProgress(double seconds) {
  if (m_ended) return;
  // Positions count from the start of the medium (mpv rebases streams to 0).
  m_decodedMs = std::max(m_decodedMs, qRound64(seconds * 1000));
  if (m_started && m_decodedMs >= m_detectorRunMs + kReportStepMs) askFindingsOnce();
  if (m_started && m_decodedMs >= m_reportedMs + kReportStepMs) postReport();
}

// mpv tells the detectors' findings later than the position that passed
// them: they are asked for once the detectors have judged, and the answers
// are what they were at the time of asking.
void MpvCheckPlayer::askFindingsOnce() {
  if (m_findingsAsked) return;
  m_findingsAsked = true;
  m_findingsPending = m_session.askFindings();
}

void MpvCheckPlayer::onEnd(double seconds) {
  if (!m_started || m_ended) return;
  m_ended = true;
  m_decodedMs = std::max(m_decodedMs, qRound64(seconds * 1000));
  postReport();
}

// mpv hands out the property changes of one moment in turn, the position
// maybe before the facts and the last position after the end: the report
// waits for the events at hand to be read, and the one the checker judges
// by for the answers to the findings asked.
void MpvCheckPlayer::postReport() {
  if (m_reportPosted) return;
  m_reportPosted = true;
  if (m_ended || m_decodedMs >= m_minPlayMs) {
    askFindingsOnce();
    if (m_findingsPending) return m_findingsWait.start();
  }
  QMetaObject::invokeMethod(
      this,
      [this, load = m_load] {
        if (load == m_load) deliverReport();
      },
      Qt::QueuedConnection);
}

void MpvCheckPlayer::deliverReport() {
  if (!m_reportPosted) return;
  m_reportPosted = false;
  m_findingsWait.stop();
  report();
}

void MpvCheckPlayer::report() {
  if (m_ended) {
    Q_EMIT ended(m_decodedMs);
    return;
  }
  m_reportedMs = m_decodedMs;
  Q_EMIT decoded(m_decodedMs);
}
