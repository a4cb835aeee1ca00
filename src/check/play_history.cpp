#include "check/play_history.h"

#include <QDateTime>

#include "form/play_outcome.h"
#include "engines/mpv_media_player.h"
#include "engines/mpv_real_player.h"
#include "form/form.h"
#include "history/line_key.h"
#include "library/scan_marker_text.h"
#include "playlists/network_address.h"
#include "playlists/station_address.h"

namespace check {

namespace {

// The reason word of an engine's error code; "" for a code it never gives.
QString reasonOfCode(int code, int (*codeOf)(LoadFailure)) {
  for (LoadFailure failure : kAllLoadFailures)
    if (codeOf(failure) == code) return reasonKey(outcomeOfFailure(failure));
  return {};
}

void record(Form& f, const QString& address, bool played, const QString& reason) {
  if (!playlists::hasNetworkScheme(playlists::bareAddress(address))) return;
  history::LineVerdict v;
  v.line = history::lineKey(address);
  v.time = QDateTime::currentDateTimeUtc();
  v.outcome = played ? history::outcome::kPlaying : history::outcome::kFailed;
  v.reason = reason;
  v.source = library::isScanMarker(f.dz1.text()) ? history::source::kScan : history::source::kPlay;
  (void)f.healthHistory().record(v);
}

}  // namespace

void RecordPlays(Form& f) {
  MediaPlayer& media = f.WindowsMediaPlayer1.engine();
  QObject::connect(&media, &MediaPlayer::PlayStateChange, &media, [&f, &media](int state) {
    if (state == MediaPlayer::Playing) record(f, media.sourceURL(), true, {});
  });
  QObject::connect(&media, &MediaPlayer::Error, &media, [&f, &media] {
    const auto item = media.errorItem(0);
    record(f, media.sourceURL(), false,
           item ? reasonOfCode(item->code, &MpvMediaPlayer::errorCodeOf) : QString());
  });
  RealPlayer& real = f.RealAudio1.engine();
  QObject::connect(&real, &RealPlayer::StateChange, &real, [&f, &real](int, int state) {
    if (state == RealPlayer::Playing) record(f, real.get(RealPlayer::Source).toString(), true, {});
  });
  QObject::connect(&real, &RealPlayer::ErrorEvent, &real,
                   [&f, &real](int, int code, int, const QString&, const QString&, const QString&) {
                     record(f, real.get(RealPlayer::Source).toString(), false,
                            reasonOfCode(code, &MpvRealPlayer::errorCodeOf));
                   });
}

}  // namespace check
