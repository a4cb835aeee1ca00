#include "engines/mpv_real_player.h"

namespace {

// Our own codes; none is the code the callers ignore (0x800400CE).
constexpr FailureCodes kCodes{static_cast<int>(0x80041001u), static_cast<int>(0x80041002u),
                              static_cast<int>(0x80041003u), static_cast<int>(0x80041004u),
                              static_cast<int>(0x80041005u), static_cast<int>(0x80041006u),
                              static_cast<int>(0x80041007u), static_cast<int>(0x80041008u)};
constexpr int kErrorSeverity = 2;

int stateOf(MpvReport report) {
  if (report == MpvReport::Playing) return RealPlayer::Playing;
  if (report == MpvReport::Stalled) return RealPlayer::Buffering;
  return RealPlayer::Stopped;
}

}  // namespace

MpvRealPlayer::MpvRealPlayer(const MpvOptions& options, QObject* parent)
    : m_session(options, this) {
  setParent(parent);
  connect(&m_session, &MpvSession::reported, this,
          [this](MpvReport report) { setState(stateOf(report)); });
  connect(&m_session, &MpvSession::failed, this, [this](LoadFailure failure) {
    Q_EMIT ErrorEvent(kErrorSeverity, kCodes.of(failure), 0, m_source, describeFailure(failure),
                      QString());
  });
}

int MpvRealPlayer::errorCodeOf(LoadFailure failure) { return kCodes.of(failure); }

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
    case Pause:
      if (m_session.pause()) setState(Paused);
      return true;
    case Stop:
      m_session.stop();
      setState(Stopped);
      return true;
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
  const bool newSource = m_source != m_loaded;
  if (!newSource && m_session.resume()) return setState(Playing);
  if (m_source.isEmpty() || !m_session.started() || (!newSource && m_state != Stopped)) return;
  // Another clip replaces the one loaded: it stops first, as a clip does.
  setState(Stopped);
  m_loaded = m_source;
  m_session.load(playlists::StationAddress::parse(m_source));
  setState(Buffering);
}

QString MpvRealPlayer::statusText() const {
  switch (m_state) {
    case Buffering:
      return m_session.isOpening() ? QStringLiteral("正在通信") : QStringLiteral("正在缓冲");
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
