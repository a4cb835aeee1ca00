#include "engines/mpv_media_player.h"

#include <QTime>

namespace {

// Our own codes besides the unrecognised format, in the range the callers
// know from this engine's errors.
constexpr FailureCodes kCodes{MediaPlayer::kUnsupportedFormat,
                              static_cast<int>(0xC00D2EE0u),
                              static_cast<int>(0xC00D2EE1u),
                              static_cast<int>(0xC00D2EE2u),
                              static_cast<int>(0xC00D2EE3u),
                              static_cast<int>(0xC00D2EE4u),
                              static_cast<int>(0xC00D2EE5u),
                              static_cast<int>(0xC00D2EE6u)};

int stateOf(MpvReport report) {
  switch (report) {
    case MpvReport::Playing: return MediaPlayer::Playing;
    case MpvReport::Stalled: return MediaPlayer::Buffering;
    case MpvReport::Ended: return MediaPlayer::MediaEnded;
    case MpvReport::Failed: break;
  }
  return MediaPlayer::Ready;
}

}  // namespace

MpvMediaPlayer::MpvMediaPlayer(const MpvOptions& options, QObject* parent)
    : m_session(options, this) {
  setParent(parent);
  connect(&m_session, &MpvSession::reported, this,
          [this](MpvReport report) { setState(stateOf(report)); });
  connect(&m_session, &MpvSession::failed, this, &MpvMediaPlayer::queueError);
}

int MpvMediaPlayer::errorCodeOf(LoadFailure failure) { return kCodes.of(failure); }

void MpvMediaPlayer::setURL(const QString& url) {
  m_source = url;
  m_session.load(playlists::StationAddress::parse(url));
  setState(url.trimmed().isEmpty() || !m_session.started() ? Ready : Buffering);
}

void MpvMediaPlayer::close() {
  m_source.clear();
  m_session.stop();
  setState(Ready);
}

void MpvMediaPlayer::play() {
  if (m_session.resume()) {
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
  if (m_session.pause()) setState(Paused);
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

void MpvMediaPlayer::queueError(LoadFailure failure) {
  m_errors.append({kCodes.of(failure), describeFailure(failure)});
  Q_EMIT Error();
}
