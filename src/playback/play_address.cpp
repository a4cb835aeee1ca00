#include "playback/play_address.h"

#include "form/form.h"
#include "playlists/station_files.h"
#include "playlists/station_address.h"

namespace playback {

namespace {

constexpr int kBrowserHeight = 6135;
const QString kPauseCaption = QStringLiteral("暂停");

void showOnly(Form& f, Control& engine) {
  for (Control* c : {static_cast<Control*>(&f.WindowsMediaPlayer1),
                     static_cast<Control*>(&f.RealAudio1), static_cast<Control*>(&f.WebBrowser1)})
    c->setVisible(c == &engine);
}

void playInBrowser(Form& f, const QString& address) {
  f.WebBrowser1.setVisible(true);
  f.BrowserPlay = kBrowserShowsPage;
  f.SearchState = kSearchRunning;
  f.form1.setWidth(kPlayingWidth);
  f.WindowsMediaPlayer1.setVisible(false);
  f.WebBrowser1->setTheaterMode(true);
  if (f.WebBrowser1.visible()) f.WebBrowser1->Navigate(address);
  f.Command14.setEnabled(false);
}

void playInMediaPlayer(Form& f, const QString& address) {
  f.PlayerKind = QStringLiteral("win");
  f.RealAudio1->call(RealPlayer::HandOver);
  f.RealAudio1->call(RealPlayer::Stop);
  f.WindowsMediaPlayer1.setVisible(true);
  f.WindowsMediaPlayer1->stop();
  f.tvm.setVisible(true);
  f.RealAudio1.setVisible(false);
  f.WindowsMediaPlayer1->clearErrorQueue();
  f.WindowsMediaPlayer1->setURL(address);
  f.Timer5.setEnabled(true);
  f.StopFlag = false;
  f.Command14.setCaption(kPauseCaption);
}

}  // namespace

// Routing looks at the address the engine opens, never at its headers: a
// Referer ending in ".rm" must not pick the real player.
bool isRealMediaAddress(const QString& address) {
  const QString bare = playlists::bareAddress(address);
  return bare.contains(u".ram") || bare.contains(u".rm");
}

bool isTempWrapperPage(const QString& address) {
  const QString bare = playlists::bareAddress(address);
  return bare.contains(u".htm", Qt::CaseInsensitive) &&
         library::localPathContains(bare, QStringLiteral("\\temp\\"));
}

void PlayAddress(Form& f, const QString& address) {
  StopAll(f);
  f.ElapsedMs = 0;
  if (isRealMediaAddress(address)) {
    PlayWithRealPlayer(f, address);
    if (f.terminated) return;
    f.Check2.setChecked(false);
    return;
  }
  f.form1.setWidth(kPlayingWidth);
  showOnly(f, f.WindowsMediaPlayer1);
  f.PendingAddress = address;
  f.StopFlag = false;
  f.CurrentAddress = address;
  // The separator entry between two files is not playable.
  if (f.tvm.text().toLower().contains(u"---")) return;
  f.BrowserPlay = kBrowserIdle;
  if (isTempWrapperPage(address)) {
    playInBrowser(f, address);
  } else {
    playInMediaPlayer(f, address);
  }
}

void PlayWithRealPlayer(Form& f, const QString& address) {
  showOnly(f, f.RealAudio1);
  f.RealStallStop = -1;
  f.PlayerKind = QStringLiteral("real");
  f.WindowsMediaPlayer1->stop();
  f.WindowsMediaPlayer1->close();
  f.StopFlag = false;
  f.RealAudio1->put(RealPlayer::Source, address);
  f.Timer5.setEnabled(true);
  f.RealAudio1->call(RealPlayer::AutoStart, {true});
  f.RealAudio1->call(RealPlayer::Play);
  if (!f.yield()) return;
  f.Command14.setCaption(kPauseCaption);
  f.Command14.setEnabled(false);
}

void StopAll(Form& f) {
  f.ElapsedMs = 0;
  f.RealStallStop = -1;
  f.Timer9.setEnabled(false);
  f.Timer8.setEnabled(false);
  f.WebBrowser1.setHeight(kBrowserHeight);
  f.StopFlag = true;
  f.WindowsMediaPlayer1->stop();
  f.WindowsMediaPlayer1->close();
  f.RealAudio1->call(RealPlayer::Stop);
  if (!f.WindowsMediaPlayer1.visible() && !f.RealAudio1.visible() && !f.WebBrowser1.visible())
    f.WindowsMediaPlayer1.setVisible(true);
  if (f.WebBrowser1.visible()) {
    f.WebBrowser1->Stop();
    f.WebBrowser1->Quit();
  }
  f.StopFlag = true;
  f.Command14.setCaption(kPauseCaption);
  f.Command14.setEnabled(false);
  f.Timer5.setEnabled(false);
}

}  // namespace playback
