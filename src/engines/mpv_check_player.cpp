#include "engines/mpv_check_player.h"

#include "engines/mpv_media_facts.h"
#include "engines/mpv_names.h"

using namespace mpvname;

namespace {

// The engine's own start limit stays behind the checker's, so the checker's
// verdict comes first.
constexpr int kEngineGraceMs = 1000;
// decoded() is raised at most once per this much new media.
constexpr qint64 kReportStepMs = 100;

QByteArray seconds(int ms) { return QByteArray::number(ms / 1000.0); }

MpvOptions checkOptions(int minPlayMs, const QByteArray& userAgent) {
  MpvOptions o;
  o.userAgent = userAgent;
  o.reportProgress = true;
  // Detectors need a run shorter than the media the checker asks for.
  const QByteArray run = seconds(std::max(100, minPlayMs / 2));
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
      {kAudioFilters, QByteArray("@") + mpvfilters::kSilence +
                          ":lavfi=[silencedetect=n=-60dB:d=" + run + "]"},
      // Judged on a small copy of the picture: black and still are as plain
      // at 160 pixels wide.
      {kVideoFilters, QByteArray("@") + mpvfilters::kBlack +
                          ":lavfi=[scale=w=160:h=-2,blackdetect=d=0:pix_th=0.1],@" +
                          mpvfilters::kFreeze + ":lavfi=[freezedetect=d=" + run + "]"},
  };
  return o;
}

}  // namespace

MpvCheckPlayer::MpvCheckPlayer(int minPlayMs, const QByteArray& userAgent, QObject* parent)
    : m_session(checkOptions(minPlayMs, userAgent), this) {
  setParent(parent);
  connect(&m_session, &MpvSession::reported, this, [this](MpvReport report) {
    if (report != MpvReport::Playing || m_started) return;
    m_started = true;
    Q_EMIT started();
  });
  connect(&m_session, &MpvSession::failed, this, &CheckPlayer::failed);
  connect(&m_session, &MpvSession::progressed, this, &MpvCheckPlayer::onProgress);
  connect(&m_session, &MpvSession::endReached, this, &MpvCheckPlayer::onEnd);
}

CheckPlayerFactory MpvCheckPlayer::factory(int minPlayMs, const QByteArray& userAgent) {
  return [minPlayMs, userAgent] { return std::make_unique<MpvCheckPlayer>(minPlayMs, userAgent); };
}

QString MpvCheckPlayer::startFailure() const {
  if (m_session.started()) return {};
  return QStringLiteral("播放引擎 libmpv 无法启动 / the media engine (libmpv) could not start: %1")
      .arg(m_session.startError());
}

void MpvCheckPlayer::open(const QString& address, int timeoutMs) {
  m_started = false;
  m_ended = false;
  m_decodedMs = 0;
  m_reportedMs = -1;
  m_session.setNetworkTimeout(timeoutMs);
  m_session.setStartTimeout(timeoutMs + kEngineGraceMs);
  m_session.load(playlists::StationAddress::parse(address));
}

void MpvCheckPlayer::close() {
  m_session.stop();
  m_started = false;
}

MediaFacts MpvCheckPlayer::facts() const { return readMediaFacts(m_session); }

void MpvCheckPlayer::onProgress(double seconds) {
  if (!m_started || m_ended) return;
  // Positions count from the start of the medium (mpv rebases streams to 0).
  m_decodedMs = std::max(m_decodedMs, qRound64(seconds * 1000));
  if (m_decodedMs < m_reportedMs + kReportStepMs) return;
  m_reportedMs = m_decodedMs;
  Q_EMIT decoded(m_decodedMs);
}

void MpvCheckPlayer::onEnd() {
  if (!m_started || m_ended) return;
  m_ended = true;
  m_decodedMs = std::max(m_decodedMs, qRound64(m_session.property(kTimePos).toDouble() * 1000));
  Q_EMIT ended(m_decodedMs);
}
