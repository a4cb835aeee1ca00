#include "engines/mpv_media_player.h"

#include <QTime>

namespace {

// Our own codes, in the range the callers know from this engine's errors.
constexpr int kUnreachable = static_cast<int>(0xC00D2EE0u);
constexpr int kTimedOut = static_cast<int>(0xC00D2EE1u);
constexpr int kMissing = static_cast<int>(0xC00D2EE2u);
constexpr int kDropped = static_cast<int>(0xC00D2EE3u);
constexpr int kOther = static_cast<int>(0xC00D2EE4u);

}  // namespace

MpvMediaPlayer::MpvMediaPlayer(const MpvOptions& options, QObject* parent)
    : MediaPlayer(), m_session(options, this) {
  setParent(parent);
  connect(&m_session, &MpvSession::playing, this, &MpvMediaPlayer::onPlaying);
  connect(&m_session, &MpvSession::stalled, this, &MpvMediaPlayer::onStalled);
  connect(&m_session, &MpvSession::ended, this, [this] { setState(MediaEnded); });
  connect(&m_session, &MpvSession::failed, this, &MpvMediaPlayer::onFailed);
}

int MpvMediaPlayer::errorCodeOf(LoadFailure failure) {
  switch (failure) {
    case LoadFailure::UnsupportedFormat: return kUnsupportedFormat;
    case LoadFailure::Unreachable: return kUnreachable;
    case LoadFailure::TimedOut: return kTimedOut;
    case LoadFailure::Missing: return kMissing;
    case LoadFailure::Dropped: return kDropped;
    case LoadFailure::Other: break;
  }
  return kOther;
}

void MpvMediaPlayer::setURL(const QString& url) {
  m_source = url;
  m_session.load(url);
  setState(url.trimmed().isEmpty() || !m_session.started() ? Ready : Buffering);
}

void MpvMediaPlayer::close() {
  m_source.clear();
  m_session.stop();
  setState(Ready);
}

void MpvMediaPlayer::play() {
  if (m_state == Paused) {
    m_session.setPaused(false);
    setState(Playing);
  } else if ((m_state == Stopped || m_state == MediaEnded) && !m_source.isEmpty()) {
    setURL(m_source);
  }
}

void MpvMediaPlayer::stop() {
  if (m_state == Ready || m_state == Undefined) return;
  m_session.stop();
  setState(Stopped);
}

void MpvMediaPlayer::pause() {
  if (m_state != Playing && m_state != Buffering) return;
  m_session.setPaused(true);
  setState(Paused);
}

void MpvMediaPlayer::setPlayCount(int count) { m_session.setPlays(std::max(1, count)); }

void MpvMediaPlayer::setMute(bool mute) { m_session.setMuted(mute); }

QString MpvMediaPlayer::durationString() const {
  const qint64 seconds = (m_session.durationMs() + 500) / 1000;
  const QTime time = QTime(0, 0).addSecs(seconds);
  return time.toString(seconds >= 3600 ? QStringLiteral("HH:mm:ss") : QStringLiteral("mm:ss"));
}

QString MpvMediaPlayer::versionInfo() const {
  return m_session.started() ? QStringLiteral("12.0.") + m_session.version() : QString();
}

std::optional<MediaPlayer::ErrorItem> MpvMediaPlayer::errorItem(int index) const {
  if (index < 0 || index >= m_errors.size()) return std::nullopt;
  return m_errors.at(index);
}

void MpvMediaPlayer::setState(int state) {
  if (state == m_state) return;
  m_state = state;
  Q_EMIT PlayStateChange(state);
}

void MpvMediaPlayer::onPlaying() {
  if (m_state != Paused) setState(Playing);
}

void MpvMediaPlayer::onStalled() {
  if (m_state != Paused) setState(Buffering);
}

void MpvMediaPlayer::onFailed(LoadFailure failure) {
  m_errors.append({errorCodeOf(failure), describeFailure(failure)});
  const quint64 generation = m_session.generation();
  Q_EMIT Error();
  // The Error handler may have closed the player or given it a new address.
  if (generation == m_session.generation()) setState(Ready);
}
