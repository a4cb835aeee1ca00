#include "engines/mpv_channel_player.h"

#include "engines/mpv_detectors.h"
#include "engines/mpv_names.h"
#include "form/play_outcome.h"

namespace {

// progressed() is raised at most once per this much new media.
constexpr qint64 kReportStepMs = 200;

MpvOptions ownOptions(const ChannelOutput& output) {
  MpvOptions o;
  o.audio = output.audioDriver != "null";
  o.userAgent = output.userAgent;
  o.reportProgress = true;
  o.observeFacts = true;
  if (o.audio && !output.audioDriver.isEmpty())
    o.extra.append(std::pair{mpvname::kAudioOutput, output.audioDriver});
  if (!output.video) o.extra.append(std::pair{mpvname::kVideoTrack, QByteArray("no")});
  o.extra += mpvdetect::filterOptions(MpvChannelPlayer::kDetectorRunMs);
  return o;
}

}  // namespace

MpvChannelPlayer::MpvChannelPlayer(const ChannelOutput& output, QObject* parent)
    : m_own(std::make_unique<MpvSession>(ownOptions(output))), m_session(*m_own) {
  setParent(parent);
  m_load = [this](const QString& address) {
    m_session.load(playlists::StationAddress::parse(address));
  };
  m_stop = [this] { m_session.stop(); };
  watch();
}

MpvChannelPlayer::MpvChannelPlayer(MpvSession& session, Load load, std::function<void()> stop,
                                   QObject* parent)
    : m_session(session), m_load(std::move(load)), m_stop(std::move(stop)) {
  setParent(parent);
  watch();
}

MpvChannelPlayer::~MpvChannelPlayer() = default;

MpvOptions MpvChannelPlayer::withChannels(MpvOptions options) {
  options.reportProgress = true;
  options.observeFacts = true;
  options.extra += mpvdetect::filterOptions(kDetectorRunMs, mpvdetect::Picture::Shown);
  return options;
}

void MpvChannelPlayer::watch() {
  connect(&m_session, &MpvSession::reported, this, &MpvChannelPlayer::onReport);
  connect(&m_session, &MpvSession::failed, this, &MpvChannelPlayer::onFailed);
  connect(&m_session, &MpvSession::progressed, this, &MpvChannelPlayer::onProgress);
  connect(&m_session, &MpvSession::loading, this, &MpvChannelPlayer::onOthersLoad);
  connect(&m_session, &MpvSession::stopped, this, &MpvChannelPlayer::onOthersLoad);
  connect(&m_session, &MpvSession::factsCleared, this, [this] { m_facts.clear(); });
  connect(&m_session, &MpvSession::observed, this,
          [this](quint64 which, const QVariant& value) { m_facts.take(which, value); });
}

QString MpvChannelPlayer::startFailure() const {
  if (m_session.started()) return {};
  return QStringLiteral("播放引擎 libmpv 无法启动 / the media engine (libmpv) could not start: %1")
      .arg(m_session.startError());
}

void MpvChannelPlayer::play(const QString& address) {
  ++m_line;
  m_started = false;
  m_reportedMs = -1;
  m_flagSince.fill(-1);
  m_active = true;
  m_calling = true;
  m_load(address);
  m_calling = false;
}

void MpvChannelPlayer::stop() {
  ++m_line;
  m_active = false;
  m_calling = true;
  m_stop();
  m_calling = false;
}

void MpvChannelPlayer::onOthersLoad() {
  if (!m_active || m_calling) return;
  ++m_line;
  m_active = false;
  Q_EMIT taken();
}

void MpvChannelPlayer::onReport(MpvReport report) {
  if (!m_active) return;
  switch (report) {
    case MpvReport::Playing:
      if (m_started) return Q_EMIT buffering(false);
      m_started = true;
      return Q_EMIT started();
    case MpvReport::Stalled: return Q_EMIT buffering(true);
    // A channel that comes to an end has stopped playing.
    case MpvReport::Ended: return fail(check::reasonKey(check::Outcome::Dropped), 0);
    case MpvReport::Failed: return;
  }
}

void MpvChannelPlayer::onFailed(LoadFailure failure) {
  if (!m_active) return;
  const int status = m_session.failureStatus();
  fail(check::reasonKey(m_started ? check::Outcome::Dropped : outcomeOfFailure(failure)), status);
}

void MpvChannelPlayer::fail(const QString& reason, int status) {
  m_active = false;
  QMetaObject::invokeMethod(
      this,
      [this, reason, status, line = m_line] {
        if (line == m_line) Q_EMIT failed(reason, status);
      },
      Qt::QueuedConnection);
}

void MpvChannelPlayer::onProgress(double seconds) {
  if (!m_active || !m_started) return;
  const qint64 ms = qRound64(seconds * 1000);
  if (m_reportedMs >= 0 && ms < m_reportedMs + kReportStepMs && ms >= m_reportedMs) return;
  m_reportedMs = ms;
  checkFlags(ms);
  Q_EMIT progressed(ms);
}

void MpvChannelPlayer::checkFlags(qint64 positionMs) {
  const MediaFacts found = m_facts.facts();
  // A black picture is found at its first frame, silence and stillness only
  // once they have lasted the detector's run.
  const struct {
    MediaFlag flag;
    bool holds;
    qint64 foundAfterMs;
  } flags[] = {{MediaFlag::Black, found.black, 0},
               {MediaFlag::Silent, found.silent, kDetectorRunMs},
               {MediaFlag::Frozen, found.frozen, kDetectorRunMs}};
  for (const auto& f : flags) {
    qint64& since = m_flagSince[static_cast<int>(f.flag)];
    if (!f.holds) {
      if (since >= 0) Q_EMIT flagged(f.flag, 0);
      since = -1;
      continue;
    }
    if (since < 0) since = positionMs - f.foundAfterMs;
    Q_EMIT flagged(f.flag, std::max<qint64>(1, positionMs - since));
  }
}
