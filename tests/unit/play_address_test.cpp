#include "form_fixture.h"
#include "playback/play_address.h"

namespace {

const QStringList kStopAllCalls = {"wmp.stop", "wmp.close", "real.call(202)"};

QStringList realPlayCalls(const QString& address) {
  return {"wmp.stop", "wmp.close", "real.put(102," + address + ")", "real.call(273,true)",
          "real.call(257)"};
}

QStringList mediaPlayCalls(const QString& address) {
  return {"real.call(206)", "real.call(202)", "wmp.stop", "wmp.clearErrorQueue",
          "wmp.URL=" + address};
}

}  // namespace

class PlayAddressTest : public FormTest {
 protected:
  // A window in the middle of something: another engine shown, timers of a
  // crawl running, the pause button live.
  void SetUp() override {
    f.form1.setWidth(kWideWidth);
    f.RealAudio1.setVisible(false);
    f.WebBrowser1.setVisible(false);
    f.Timer8.setEnabled(true);
    f.Timer9.setEnabled(true);
    f.Command14.setEnabled(true);
    f.Command14.setCaption("继续");
    f.Check2.setChecked(true);
    f.ElapsedMs = 1234;
    f.tvm.setText("甲");
  }
  void play(const QString& address) {
    log.clear();
    playback::PlayAddress(f, address);
  }
  void expectOnlyVisible(const Control& engine) {
    EXPECT_EQ(f.WindowsMediaPlayer1.visible(), &engine == &f.WindowsMediaPlayer1);
    EXPECT_EQ(f.RealAudio1.visible(), &engine == &f.RealAudio1);
    EXPECT_EQ(f.WebBrowser1.visible(), &engine == &f.WebBrowser1);
  }
  void expectPauseButtonReset() {
    EXPECT_EQ(f.Command14.caption(), "暂停");
    EXPECT_FALSE(f.Command14.enabled());
  }
  void expectRealPlay(const QString& address) {
    EXPECT_EQ(log, kStopAllCalls + realPlayCalls(address)) << address.toStdString();
    expectOnlyVisible(f.RealAudio1);
    EXPECT_EQ(f.PlayerKind, "real");
  }
  void expectMediaPlay(const QString& address) {
    EXPECT_EQ(log, kStopAllCalls + mediaPlayCalls(address)) << address.toStdString();
    expectOnlyVisible(f.WindowsMediaPlayer1);
    EXPECT_EQ(f.PlayerKind, "win");
  }
};

TEST_F(PlayAddressTest, RealMediaAddressesGoToTheRealPlayer) {
  for (const QString a : {"http://host/live.ram", "rtsp://host/a/clip.rm", "http://h/movie.rmvb",
                          "http://h/x.ram?id=1"}) {
    play(a);
    expectRealPlay(a);
  }
}

TEST_F(PlayAddressTest, RealPlayLeavesItsStatesAndClearsManualMode) {
  play("rtsp://host/a.rm");
  EXPECT_FALSE(f.Check2.checked());
  EXPECT_FALSE(f.StopFlag);
  EXPECT_EQ(f.RealStallStop, -1);
  EXPECT_EQ(f.ElapsedMs, 0);
  EXPECT_TRUE(f.Timer5.enabled());
  EXPECT_FALSE(f.Timer8.enabled());
  EXPECT_FALSE(f.Timer9.enabled());
  expectPauseButtonReset();
  // The real player path keeps the window width.
  EXPECT_EQ(f.form1.width(), kWideWidth);
}

TEST_F(PlayAddressTest, RealPlayYieldsOnceAfterStarting) {
  QStringList seenDuringYield;
  real.onPlay = [&](const QString&) {
    host.post([&] { seenDuringYield = log; });
  };
  play("rtsp://host/a.rm");
  EXPECT_EQ(seenDuringYield, kStopAllCalls + realPlayCalls("rtsp://host/a.rm"));
}

TEST_F(PlayAddressTest, OtherAddressesGoToTheMediaPlayer) {
  for (const QString a : {"http://host/LIVE.RAM", "http://host/X.RM", "mms://host/tv",
                          "http://www.example.com/page.htm", "http://www.example.com/temp/a.htm",
                          "/srv/media/temp/clip.asx", ""}) {
    play(a);
    expectMediaPlay(a);
  }
}

TEST_F(PlayAddressTest, MediaPlayLeavesItsStates) {
  f.tvm.setVisible(false);
  play("mms://host/tv");
  EXPECT_EQ(f.form1.width(), kPlayingWidth);
  EXPECT_TRUE(f.tvm.visible());
  EXPECT_TRUE(f.Timer5.enabled());
  EXPECT_FALSE(f.StopFlag);
  EXPECT_EQ(f.ElapsedMs, 0);
  EXPECT_EQ(f.PendingAddress, "mms://host/tv");
  EXPECT_EQ(f.CurrentAddress, "mms://host/tv");
  EXPECT_EQ(f.BrowserPlay, kBrowserIdle);
  // Only the player events enable the pause button.
  expectPauseButtonReset();
  EXPECT_TRUE(f.Check2.checked());
}

TEST_F(PlayAddressTest, LocalTempPageGoesToTheBrowser) {
  for (const QString a : {"/opt/nettv/TEMP/x.HTM", "C:\\nettv\\Temp\\y.htm"}) {
    f.PlayerKind = "real";
    f.WebBrowser1.setVisible(false);
    f.Timer5.setEnabled(true);
    play(a);
    EXPECT_EQ(log, kStopAllCalls + QStringList({"web.TheaterMode=1", "web.Navigate(" + a + ")"}))
        << a.toStdString();
    expectOnlyVisible(f.WebBrowser1);
    EXPECT_EQ(f.BrowserPlay, kBrowserShowsPage);
    EXPECT_EQ(f.SearchState, kSearchRunning);
    EXPECT_EQ(f.form1.width(), kPlayingWidth);
    EXPECT_FALSE(f.Command14.enabled());
    EXPECT_FALSE(f.StopFlag);
    EXPECT_EQ(f.PlayerKind, "real");
    EXPECT_FALSE(f.Timer5.enabled());
  }
}

TEST_F(PlayAddressTest, SeparatorNamePlaysNothing) {
  f.RealAudio1.setVisible(true);
  f.WindowsMediaPlayer1.setVisible(false);
  f.tvm.setText("-------------");
  play("-------------");
  EXPECT_EQ(log, kStopAllCalls);
  expectOnlyVisible(f.WindowsMediaPlayer1);
  EXPECT_EQ(f.form1.width(), kPlayingWidth);
  EXPECT_FALSE(f.StopFlag);
  EXPECT_TRUE(f.PlayerKind.isEmpty());
  EXPECT_FALSE(f.Timer5.enabled());
  EXPECT_EQ(f.CurrentAddress, "-------------");
}

TEST_F(PlayAddressTest, RealMediaAddressPlaysEvenUnderTheSeparatorName) {
  f.tvm.setText("-------------");
  play("rtsp://host/a.rm");
  expectRealPlay("rtsp://host/a.rm");
}

TEST_F(PlayAddressTest, PlayWithRealPlayerNeitherStopsFirstNorResetsTheClock) {
  f.ElapsedMs = 500;
  playback::PlayWithRealPlayer(f, "rtsp://host/b.rm");
  EXPECT_EQ(log, realPlayCalls("rtsp://host/b.rm"));
  EXPECT_EQ(f.ElapsedMs, 500);
  EXPECT_EQ(f.form1.width(), kWideWidth);
  EXPECT_TRUE(f.Check2.checked());
  expectPauseButtonReset();
}

class StopAllTest : public PlayAddressTest {
 protected:
  void stopAll() {
    log.clear();
    playback::StopAll(f);
  }
};

TEST_F(StopAllTest, SilencesEverythingAndResetsThePauseButton) {
  f.Timer5.setEnabled(true);
  f.RealStallStop = 7;
  f.WebBrowser1.setHeight(100);
  stopAll();
  EXPECT_EQ(log, kStopAllCalls);
  EXPECT_TRUE(f.StopFlag);
  EXPECT_EQ(f.ElapsedMs, 0);
  EXPECT_EQ(f.RealStallStop, -1);
  for (Timer* t : {&f.Timer5, &f.Timer8, &f.Timer9}) EXPECT_FALSE(t->enabled());
  EXPECT_TRUE(f.Timer10.enabled());
  expectPauseButtonReset();
  EXPECT_EQ(f.WebBrowser1.height(), 6135);
  expectOnlyVisible(f.WindowsMediaPlayer1);
}

TEST_F(StopAllTest, StopsAndQuitsTheBrowserOnlyWhileItShows) {
  f.WindowsMediaPlayer1.setVisible(false);
  f.WebBrowser1.setVisible(true);
  stopAll();
  EXPECT_EQ(log, kStopAllCalls + QStringList({"web.Stop", "web.Quit"}));
  expectOnlyVisible(f.WebBrowser1);
}

TEST_F(StopAllTest, ShowsTheMediaPlayerWhenNoEngineShows) {
  f.WindowsMediaPlayer1.setVisible(false);
  stopAll();
  EXPECT_EQ(log, kStopAllCalls);
  expectOnlyVisible(f.WindowsMediaPlayer1);
}

TEST_F(StopAllTest, LeavesTheRealPlayerShown) {
  f.WindowsMediaPlayer1.setVisible(false);
  f.RealAudio1.setVisible(true);
  stopAll();
  expectOnlyVisible(f.RealAudio1);
}
