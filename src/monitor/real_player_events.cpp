#include "monitor/real_player_events.h"

#include "form/form.h"
#include "library/scan_marker_text.h"
#include "library/found_entries.h"
#include "monitor/list_scan.h"
#include "monitor/test_play.h"
#include "playback/play_clock.h"

namespace monitor {

namespace {

// An error code of the real player that never moves a scan on.
constexpr int kIgnoredErrorCode = static_cast<int>(0x800400CE);

int playState(const Form& f) { return f.RealAudio1->get(RealPlayer::PlayState).toInt(); }

bool scanRunning(const Form& f) { return library::isScanMarker(f.dz1.text()); }

// The real player's reports arrive after the fact: one about a play that a
// later play has already replaced by the media player must not move a scan.
bool realPlayerInUse(const Form& f) { return f.RealAudio1.visible(); }

// Sources of the player's own update and advertising clips.
bool isPlayerOwnClip(const QString& source) {
  return source.contains(u"update.") || source.contains(u"full.") || source.contains(u"bb.");
}

void onPlaying(Form& f) {
  if (f.RunMode == kAutomaticRun) {
    RecordScanHit(f);
    ContinueScanReal(f);
  }
  qint32 length = f.RealAudio1->get(RealPlayer::Length).toInt();
  f.Timer5.setEnabled(true);
  if (length < f.ElapsedMs) f.ElapsedMs = 0;
  if (f.ElapsedMs == 0) f.ElapsedMs = 1;
  f.Command14.setEnabled(true);
  f.Label1.setCaption(playback::FormatElapsed(length));
  const QString source = f.RealAudio1->get(RealPlayer::Source).toString();
  if (source.isEmpty()) return;
  f.Text1.setText(source + u'\r' + f.Text1.text());
  if (library::hasNoHash(f.dz1.text()) && length == 0 && !isPlayerOwnClip(source))
    library::RecordFoundAddress(f, source);
}

// A stream that falls back from playing to buffering outside an automatic
// run has stalled: it is stopped, and its stop report moves on to the next
// station.
void stopStall(Form& f, int oldState, int newState) {
  const QString status = f.RealAudio1->get(RealPlayer::StatusText).toString().toLower();
  if (status == u"communicating" || status == u"正在通信") {
    f.Timer5.setEnabled(false);
  } else if ((scanRunning(f) || !f.Check2.checked()) && newState == RealPlayer::Buffering &&
             oldState == RealPlayer::Playing && !f.StopFlag && f.RunMode != kAutomaticRun) {
    f.ElapsedMs = 0;
    f.RealStallStop = 1;
    f.RealAudio1->call(RealPlayer::Stop);
  }
}

}  // namespace

void RealAudio1_ErrorEvent(Form& f, int, int code, int, const QString&, const QString&,
                           const QString&) {
  if (f.WindowsMediaPlayer1->playState() == MediaPlayer::Ready && scanRunning(f) &&
      !f.StopFlag && code != kIgnoredErrorCode && realPlayerInUse(f))
    PlayResolvedAddress(f);
}

void RealAudio1_StateChange(Form& f, int oldState, int newState) {
  if (!f.yield()) return;
  const int state = playState(f);
  if (state == RealPlayer::Playing) {
    onPlaying(f);
  } else if (state != RealPlayer::Paused) {
    f.Command14.setEnabled(false);
  }
  stopStall(f, oldState, newState);
  if (newState != RealPlayer::Stopped || oldState == RealPlayer::Stopped || f.StopFlag) return;
  if (scanRunning(f)) {
    if (realPlayerInUse(f)) PlayResolvedAddress(f);
  } else if (!f.Check2.checked() && f.RealStallStop == 1) {
    f.Timer10.setEnabled(true);
  }
}

void RealAudio1_ThreeNumberEvent(Form& f, int first, int, int) {
  if (first == 1) f.RealAudio1->call(RealPlayer::Acknowledge);
}

}  // namespace monitor
