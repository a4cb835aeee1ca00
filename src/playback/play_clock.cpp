#include "playback/play_clock.h"

#include <limits>

#include "form/form.h"
#include "playback/popup_check.h"
#include "base/vb_text.h"

namespace playback {

namespace {

constexpr int kClockStepMs = 50;
const QString kPauseCaption = QStringLiteral("暂停");
const QString kContinueCaption = QStringLiteral("继续");

}  // namespace

QString FormatElapsed(qint32& milliseconds) {
  const auto seconds = static_cast<qint32>(vb::roundHalfEven(milliseconds / 1000.0));
  milliseconds = seconds;
  return QStringLiteral("%1:%2:%3").arg(seconds / 3600).arg(seconds % 3600 / 60).arg(seconds % 60);
}

void Timer5_Timer(Form& f) {
  // The clock stays at 0 until a play starts it, and stops short of overflow.
  if (f.ElapsedMs > 0 && f.ElapsedMs <= std::numeric_limits<qint32>::max() - kClockStepMs) {
    f.ElapsedMs += kClockStepMs;
    qint32 elapsed = f.ElapsedMs;
    f.Label3.setCaption(FormatElapsed(elapsed));
  }
  app::ClosePlayerPopup(f);
}

void TogglePause(Form& f) {
  const int state = f.WindowsMediaPlayer1->playState();
  if (f.Command14.caption() == kPauseCaption) {
    if (state != MediaPlayer::Ready) f.WindowsMediaPlayer1->pause();
    f.RealAudio1->call(RealPlayer::Pause);
    f.Command14.setCaption(kContinueCaption);
    f.Timer5.setEnabled(false);
  } else {
    f.WindowsMediaPlayer1->play();
    f.RealAudio1->call(RealPlayer::Play);
    f.Command14.setCaption(kPauseCaption);
    f.Timer5.setEnabled(true);
  }
}

void Command14_Click(Form& f) { TogglePause(f); }

}  // namespace playback
