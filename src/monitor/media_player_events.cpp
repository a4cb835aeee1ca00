#include "monitor/media_player_events.h"

#include "form/form.h"
#include "library/scan_marker_text.h"
#include "library/found_entries.h"
#include "library/station_editing.h"
#include "monitor/minimum_length.h"
#include "monitor/scan_marker.h"
#include "monitor/test_play.h"
#include "playback/play_address.h"

namespace monitor {

namespace {

const QString kLiveDuration = QStringLiteral("00:00");

int playState(const Form& f) { return f.WindowsMediaPlayer1->playState(); }

bool scanRunning(const Form& f) { return library::isScanMarker(f.dz1.text()); }

// Something plays: show it, apply the minimum length, count it, record it.
// Returns the duration text.
QString onPlaying(Form& f) {
  MediaPlayer& player = f.WindowsMediaPlayer1.engine();
  f.Command14.setEnabled(true);
  f.Check2.setChecked(false);
  const QString duration = player.durationString();
  f.Label1.setCaption(duration);
  if (f.Check3.checked() && isShorterThanMinimum(duration, f.Combo1.text())) player.close();
  const bool ordinaryAddress = library::hasNoHash(f.dz1.text());
  ++f.PlayingCount;
  if (f.RunMode == kAutomaticRun) {
    library::ShowPlayingCount(f);
    RecordScanHit(f);
    ContinueScanWmp(f);
  }
  // A player closed above may no longer name its medium: nothing to show.
  const QString source = player.sourceURL();
  if (source.isEmpty()) return duration;
  f.Text1.setText(source + u'\r' + f.Text1.text());
  if (duration == kLiveDuration && ordinaryAddress) library::RecordFoundAddress(f, source);
  return duration;
}

// The automatic steps after an end, a stop or a release.
void moveOn(Form& f, const QString& duration) {
  if (f.StopFlag) return;
  if (playState(f) == MediaPlayer::MediaEnded) {
    if (scanRunning(f)) {
      f.PendingAddress = AdvanceScanMarker(f, f.dz1.text());
    } else if (!f.Check2.checked() && duration != kLiveDuration) {
      f.Timer10.setEnabled(true);
    }
    f.WindowsMediaPlayer1->close();
  } else if (playState(f) == MediaPlayer::Stopped && scanRunning(f)) {
    f.WindowsMediaPlayer1->close();
  } else if (playState(f) == MediaPlayer::Ready && scanRunning(f)) {
    f.Timer8.setEnabled(true);
  }
}

// True when the address waiting for the deferred start is of the real
// player's kind, in any letter case.
bool realMediaQueued(const Form& f) {
  return playback::isRealMediaAddress(f.PendingAddress.toLower());
}

// The address the real player takes over: the queued one, else the last
// one played, else the one the media player failed on (a candidate started
// by the deferred start leaves the first two empty).
QString handOverAddress(const Form& f) {
  if (!f.PendingAddress.isEmpty()) return f.PendingAddress;
  if (!f.CurrentAddress.isEmpty()) return f.CurrentAddress;
  return f.WindowsMediaPlayer1->sourceURL();
}

}  // namespace

void WindowsMediaPlayer1_PlayStateChange(Form& f, int) {
  if (!f.yield()) return;
  if (playState(f) == MediaPlayer::Buffering) f.PendingAddress.clear();
  QString duration;
  if (playState(f) == MediaPlayer::Playing) {
    duration = onPlaying(f);
  } else if (playState(f) != MediaPlayer::Paused) {
    f.Command14.setEnabled(false);
  }
  moveOn(f, duration);
}

void WindowsMediaPlayer1_Error(Form& f) {
  MediaPlayer& player = f.WindowsMediaPlayer1.engine();
  const int count = player.errorCount();
  const auto first = player.errorItem(0);
  if (f.Check1.checked() && first && first->code != MediaPlayer::kUnsupportedFormat)
    f.host.messageBox(first->description, kApplicationTitle, MessageIcon::None);
  // One report moves a running scan on at most once, however many errors
  // the queue held.
  bool advanced = false;
  for (int round = 0; round < count; ++round) {
    const auto item = player.errorItem(0);
    const bool unsupported = item && item->code == MediaPlayer::kUnsupportedFormat;
    if (!unsupported) {
      player.clearErrorQueue();
      if (!advanced && scanRunning(f) && !f.StopFlag) {
        advanced = true;
        f.PendingAddress = AdvanceScanMarker(f, f.dz1.text());
        if (f.terminated) return;
        if (!f.PendingAddress.isEmpty()) f.Timer8.setEnabled(true);
      }
    }
    if (realMediaQueued(f) || unsupported) {
      player.clearErrorQueue();
      f.Timer8.setEnabled(false);
      playback::PlayWithRealPlayer(f, handOverAddress(f));
      return;
    }
  }
}

}  // namespace monitor
