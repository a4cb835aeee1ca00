#include "engines/mpv_real_player.h"

namespace {

// Our own codes; none is the code the callers ignore (0x800400CE).
constexpr int kUnsupported = static_cast<int>(0x80041001u);
constexpr int kUnreachable = static_cast<int>(0x80041002u);
constexpr int kTimedOut = static_cast<int>(0x80041003u);
constexpr int kMissing = static_cast<int>(0x80041004u);
constexpr int kDropped = static_cast<int>(0x80041005u);
constexpr int kOther = static_cast<int>(0x80041006u);
constexpr int kErrorSeverity = 2;

}  // namespace

MpvRealPlayer::MpvRealPlayer(const MpvOptions& options, QObject* parent)
    : RealPlayer(), m_session(options, this) {
  setParent(parent);
  connect(&m_session, &MpvSession::playing, this, &MpvRealPlayer::onPlaying);
  connect(&m_session, &MpvSession::stalled, this, &MpvRealPlayer::onStalled);
  connect(&m_session, &MpvSession::ended, this, [this] { setState(Stopped); });
  connect(&m_session, &MpvSession::failed, this, &MpvRealPlayer::onFailed);
}

int MpvRealPlayer::errorCodeOf(LoadFailure failure) {
  switch (failure) {
    case LoadFailure::UnsupportedFormat: return kUnsupported;
    case LoadFailure::Unreachable: return kUnreachable;
    case LoadFailure::TimedOut: return kTimedOut;
    case LoadFailure::Missing: return kMissing;
    case LoadFailure::Dropped: return kDropped;
    case LoadFailure::Other: break;
  }
  return kOther;
}

bool MpvRealPlayer::put(int dispId, const QVariant& value) {
  if (dispId != Source) return false;
  m_source = value.toString();
  return true;
}

QVariant MpvRealPlayer::get(int dispId) const {
  switch (dispId) {
    case Source: return m_source;
    case PlayState: return m_state;
    case Length: return static_cast<int>(m_session.durationMs());
    case StatusText: return statusText();
    case Version:
      return m_session.started() ? QStringLiteral("16.0.") + m_session.version() : QString();
    case Setting220: return true;
    default: return {};
  }
}

bool MpvRealPlayer::call(int dispId, const QVariantList& args) {
  switch (dispId) {
    case Play: play(); return true;
    case Pause: pause(); return true;
    case Stop: stop(); return true;
    // The media player takes over: forget the source, so that a later
    // Play does not start it beside the other engine.
    case HandOver: m_source.clear(); return true;
    case SoundOn: m_session.setMuted(args.value(0).toBool()); return true;
    case AutoStart:
    case Acknowledge:
    case Setting326:
    case Setting271:
    case Setting231:
    case Setting307:
    case Setting275:
    case Setting221:
      return true;
    default:
      return false;
  }
}

void MpvRealPlayer::play() {
  if (m_state == Paused) {
    m_session.setPaused(false);
    setState(Playing);
  } else if (m_state == Stopped && !m_source.isEmpty() && m_session.started()) {
    m_connecting = true;
    m_session.load(m_source);
    setState(Buffering);
  }
}

void MpvRealPlayer::pause() {
  if (m_state != Playing && m_state != Buffering) return;
  m_session.setPaused(true);
  setState(Paused);
}

void MpvRealPlayer::stop() {
  m_session.stop();
  m_connecting = false;
  setState(Stopped);
}

QString MpvRealPlayer::statusText() const {
  switch (m_state) {
    case Buffering: return m_connecting ? QStringLiteral("正在通信") : QStringLiteral("正在缓冲");
    case Playing: return QStringLiteral("正在播放");
    case Paused: return QStringLiteral("已暂停");
    default: return QStringLiteral("就绪");
  }
}

void MpvRealPlayer::setState(int state) {
  if (state == m_state) return;
  const int old = m_state;
  m_state = state;
  Q_EMIT StateChange(old, state);
}

void MpvRealPlayer::onPlaying() {
  m_connecting = false;
  if (m_state != Paused) setState(Playing);
}

void MpvRealPlayer::onStalled() {
  if (m_state != Paused) setState(Buffering);
}

void MpvRealPlayer::onFailed(LoadFailure failure) {
  m_connecting = false;
  const quint64 generation = m_session.generation();
  Q_EMIT ErrorEvent(kErrorSeverity, errorCodeOf(failure), 0, m_source, describeFailure(failure),
                    QString());
  // The error handler may have stopped the player or started the next one.
  if (generation == m_session.generation()) setState(Stopped);
}
