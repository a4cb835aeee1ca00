#include "form_fixture.h"
#include "monitor/test_play.h"
#include "playback/play_address.h"

namespace {

class PlayerEventsTest : public FormTest {
 protected:
  // A scan over n candidates whose counter names candidate `at`.
  void scanAt(int at, int n = 5) {
    for (int i = 0; i < n; ++i) {
      f.tvm.addItem(QString("Station %1").arg(i));
      f.dz1.addItem(QString("mms://host/%1").arg(i));
    }
    f.tvm.setText(f.tvm.item(at));
    f.dz1.setText(QString("list#%1#").arg(at, 7, 10, QChar('0')));
    f.RunMode = kAutomaticRun;
    f.StopFlag = false;
    f.RealAudio1.setVisible(false);
  }
  void playing(const QString& source, const QString& duration) {
    wmp.source = source;
    wmp.duration = duration;
    wmp.raiseState(MediaPlayer::Playing);
  }
  void realPlaying(const QString& source, int lengthMs) {
    real.props[RealPlayer::Source] = source;
    real.props[RealPlayer::Length] = lengthMs;
    real.raiseState(RealPlayer::Playing);
  }
  QStringList found() const { return readLines("tv_lib_ss_jg.txt"); }
};

// Media player state changes.

TEST_F(PlayerEventsTest, LiveStreamOutsideAScanIsShownCountedAndRecordedOnce) {
  f.tvm.setText("Live TV");
  f.dz1.setText("mms://live/tv");
  f.Check2.setChecked(true);
  f.Text1.setText("old\r");
  playing("mms://live/tv", "00:00");
  EXPECT_TRUE(f.Command14.enabled());
  EXPECT_FALSE(f.Check2.checked());
  EXPECT_EQ(f.Label1.caption(), "00:00");
  EXPECT_EQ(f.PlayingCount, 1);
  EXPECT_EQ(f.Command3.caption(), "增加");
  EXPECT_EQ(f.Text1.text(), "mms://live/tv\rold\r");
  playing("mms://live/tv", "00:00");
  EXPECT_EQ(f.PlayingCount, 2);
  EXPECT_EQ(found(), QStringList{"Live TV,mms://live/tv,"});
  EXPECT_FALSE(log.contains("wmp.close"));
}

TEST_F(PlayerEventsTest, FiniteMediaAndAddressesWithAHashAreNotRecorded) {
  f.tvm.setText("Clip");
  f.dz1.setText("http://a/clip.wmv");
  playing("http://a/clip.wmv", "03:00");
  f.dz1.setText("http://a/page#live");
  playing("http://a/page#live", "00:00");
  EXPECT_FALSE(exists("tv_lib_ss_jg.txt"));
}

TEST_F(PlayerEventsTest, MinimumLengthComparesDurations) {
  f.Check3.setChecked(true);
  f.Combo1.setText("20");
  const struct {
    const char* duration;
    bool closed;
  } cases[] = {{"03:25", true}, {"25:00", false}, {"20:00", false}, {"00:00", true},
               {"1:05:00", false}, {"19:59", true}, {"", true}};
  for (const auto& c : cases) {
    f.dz1.setText("http://a#b");
    takeLog();
    playing("http://a/clip", c.duration);
    EXPECT_EQ(takeLog().contains("wmp.close"), c.closed) << c.duration;
  }
  f.Check3.setChecked(false);
  playing("http://a/clip", "03:25");
  EXPECT_FALSE(takeLog().contains("wmp.close"));
}

TEST_F(PlayerEventsTest, LiveStreamClosedForItsLengthIsNotRecordedWithoutItsAddress) {
  f.Check3.setChecked(true);
  f.tvm.setText("Live TV");
  f.dz1.setText("mms://live/tv");
  wmp.onClose = [this] { wmp.source.clear(); };
  playing("mms://live/tv", "00:00");
  EXPECT_TRUE(log.contains("wmp.close"));
  EXPECT_EQ(f.Text1.text(), "");
  EXPECT_EQ(f.dz1.text(), "mms://live/tv");
  EXPECT_FALSE(exists("tv_lib_ss_jg.txt"));
}

TEST_F(PlayerEventsTest, PlayingDuringAScanRecordsTheHitAndQueuesTheNextCandidate) {
  writeLines("tv_lib_ss_jg.txt", {"Station 2,mms://host/2,"});
  scanAt(2);
  f.PlayingCount = 6;
  playing("mms://host/2", "00:00");
  EXPECT_EQ(f.PlayingCount, 7);
  EXPECT_EQ(f.Command3.caption(), "7");
  EXPECT_EQ(f.Text2.text(), "Station 2,mms://host/2,");
  EXPECT_EQ(found(), QStringList{"Station 2,mms://host/2,"});
  EXPECT_TRUE(log.contains("wmp.close"));
  EXPECT_EQ(f.PendingAddress, "mms://host/3");
  EXPECT_EQ(f.dz1.text(), "list#0000003#");
  EXPECT_TRUE(f.Timer8.enabled());
}

TEST_F(PlayerEventsTest, PauseButtonFollowsTheState) {
  f.Command14.setEnabled(true);
  wmp.raiseState(MediaPlayer::Paused);
  EXPECT_TRUE(f.Command14.enabled());
  f.PendingAddress = "mms://queued";
  wmp.raiseState(MediaPlayer::Buffering);
  EXPECT_FALSE(f.Command14.enabled());
  EXPECT_EQ(f.PendingAddress, "");
}

TEST_F(PlayerEventsTest, StateIsReadAgainAfterTheYield) {
  f.PendingAddress = "mms://queued";
  host.post([this] { wmp.state = MediaPlayer::Playing; });
  wmp.raiseState(MediaPlayer::Buffering);
  EXPECT_EQ(f.PendingAddress, "mms://queued");
  EXPECT_EQ(f.PlayingCount, 1);
  EXPECT_TRUE(f.Command14.enabled());
}

TEST_F(PlayerEventsTest, EndOfMediumPlaysTheNextStationOnlyInAutomaticMode) {
  wmp.raiseState(MediaPlayer::MediaEnded);
  EXPECT_TRUE(f.Timer10.enabled());
  EXPECT_EQ(takeLog(), QStringList{"wmp.close"});

  f.Timer10.setEnabled(false);
  f.Check2.setChecked(true);
  wmp.raiseState(MediaPlayer::MediaEnded);
  EXPECT_FALSE(f.Timer10.enabled());
  EXPECT_EQ(takeLog(), QStringList{"wmp.close"});

  f.StopFlag = true;
  wmp.raiseState(MediaPlayer::MediaEnded);
  EXPECT_TRUE(takeLog().isEmpty());
}

TEST_F(PlayerEventsTest, EndStopAndReadyMoveARunningScanOn) {
  scanAt(1);
  f.Timer10.setEnabled(false);
  wmp.raiseState(MediaPlayer::MediaEnded);
  EXPECT_EQ(f.PendingAddress, "mms://host/2");
  EXPECT_FALSE(f.Timer10.enabled());
  EXPECT_EQ(takeLog(), QStringList{"wmp.close"});
  wmp.raiseState(MediaPlayer::Stopped);
  EXPECT_EQ(takeLog(), QStringList{"wmp.close"});
  wmp.raiseState(MediaPlayer::Ready);
  EXPECT_TRUE(f.Timer8.enabled());
}

TEST_F(PlayerEventsTest, AfterStopAllNoReportMovesAnything) {
  scanAt(1);
  playback::StopAll(f);
  takeLog();
  f.Timer10.setEnabled(false);
  for (int state : {MediaPlayer::MediaEnded, MediaPlayer::Stopped, MediaPlayer::Ready})
    wmp.raiseState(state);
  wmp.raiseError(-5);
  real.props[RealPlayer::PlayState] = RealPlayer::Playing;
  real.raiseState(RealPlayer::Stopped);
  real.raiseError(-5);
  EXPECT_EQ(f.dz1.text(), "list#0000001#");
  EXPECT_FALSE(f.Timer8.enabled());
  EXPECT_FALSE(f.Timer10.enabled());
  EXPECT_EQ(takeLog(), QStringList{"wmp.clearErrorQueue"});
}

TEST_F(PlayerEventsTest, StopAndReadyOutsideAScanDoNothing) {
  f.dz1.setText("mms://a");
  wmp.raiseState(MediaPlayer::Stopped);
  wmp.raiseState(MediaPlayer::Ready);
  EXPECT_TRUE(log.isEmpty());
  EXPECT_FALSE(f.Timer8.enabled());
}

// Media player errors.

TEST_F(PlayerEventsTest, ErrorMessageOnlyWhenAskedForAndNeverForTheHandOverCode) {
  f.dz1.setText("mms://a");
  wmp.raiseError(-5, "无法连接");
  f.Check1.setChecked(true);
  wmp.raiseError(-5, "无法连接");
  wmp.raiseError(MediaPlayer::kUnsupportedFormat, "格式");
  ASSERT_EQ(host.messages.size(), 1);
  EXPECT_EQ(host.messages[0].text, "无法连接");
  EXPECT_EQ(host.messages[0].title, kApplicationTitle);
}

TEST_F(PlayerEventsTest, OneErrorReportAdvancesAScanOnceHoweverManyErrorsQueued) {
  scanAt(1);
  wmp.errors = {{-5, "a"}, {-6, "b"}};
  wmp.raiseError(-7, "c");
  EXPECT_EQ(f.PendingAddress, "mms://host/2");
  EXPECT_EQ(f.dz1.text(), "list#0000002#");
  EXPECT_TRUE(f.Timer8.enabled());
  EXPECT_TRUE(wmp.errors.isEmpty());
  EXPECT_FALSE(log.join(' ').contains("real.put"));
}

TEST_F(PlayerEventsTest, NextCandidateOfRealMediaTypeGoesToTheRealPlayerAtOnce) {
  scanAt(1);
  f.dz1.insertItem(2, "rtsp://host/clip.RM");
  f.tvm.insertItem(2, "Real clip");
  wmp.raiseError(-5);
  EXPECT_FALSE(f.Timer8.enabled());
  EXPECT_TRUE(log.contains("real.put(102,rtsp://host/clip.RM)"));
  EXPECT_TRUE(f.RealAudio1.visible());
  EXPECT_EQ(f.dz1.text(), "list#0000002#");
}

TEST_F(PlayerEventsTest, HandOverCodeGivesTheAddressToTheRealPlayer) {
  f.tvm.setText("Odd");
  playback::PlayAddress(f, "http://a/odd.RM");
  wmp.raiseState(MediaPlayer::Buffering);
  takeLog();
  wmp.raiseError(MediaPlayer::kUnsupportedFormat);
  EXPECT_TRUE(log.contains("real.put(102,http://a/odd.RM)"));
  EXPECT_TRUE(wmp.errors.isEmpty());
  EXPECT_EQ(f.PlayerKind, "real");
}

TEST_F(PlayerEventsTest, HandOverOfACandidateStartedByTheTimerUsesTheFailedAddress) {
  scanAt(1);
  f.PendingAddress = "mms://host/1";
  monitor::StartQueuedAddress(f);
  takeLog();
  wmp.raiseError(MediaPlayer::kUnsupportedFormat);
  EXPECT_TRUE(log.contains("real.put(102,mms://host/1)"));
  EXPECT_EQ(f.dz1.text(), "list#0000001#");
}

TEST_F(PlayerEventsTest, OrdinaryErrorOnAnOrdinaryAddressStaysWithTheMediaPlayer) {
  playback::PlayAddress(f, "http://a/x.asf");
  takeLog();
  wmp.raiseError(-5);
  wmp.errorReadFails = true;
  wmp.raiseError(-5);
  EXPECT_FALSE(log.join(' ').contains("real."));
  EXPECT_TRUE(f.WindowsMediaPlayer1.visible());
}

TEST_F(PlayerEventsTest, UnreadableErrorQueueIsAnOrdinaryFailure) {
  scanAt(1);
  wmp.errorReadFails = true;
  wmp.raiseError(MediaPlayer::kUnsupportedFormat);
  EXPECT_EQ(f.PendingAddress, "mms://host/2");
  EXPECT_FALSE(log.join(' ').contains("real."));
}

TEST_F(PlayerEventsTest, ErrorOnTheLastCandidateEndsTheScanAndQueuesNothing) {
  writeLines("tv_lib_ss_jg.txt", {"Found,mms://found,"});
  scanAt(4);
  wmp.raiseError(-5);
  EXPECT_EQ(f.PendingAddress, "");
  EXPECT_FALSE(f.Timer8.enabled());
  EXPECT_EQ(f.tvm.items(), QStringList{"Found"});
  EXPECT_EQ(host.messages.size(), 1);
}

// Real player reports.

TEST_F(PlayerEventsTest, RealErrorMovesTheScanOnlyWhileItPlaysTheCandidate) {
  scanAt(1);
  playback::PlayWithRealPlayer(f, "rtsp://host/1.rm");
  wmp.state = MediaPlayer::Buffering;
  real.raiseError(-5);
  wmp.state = MediaPlayer::Ready;
  real.raiseError(static_cast<int>(0x800400CE));
  EXPECT_EQ(f.dz1.text(), "list#0000001#");
  real.raiseError(-5);
  EXPECT_EQ(f.dz1.text(), "list#0000002#");
  EXPECT_EQ(wmp.source, "mms://host/2");
  // The real player is no longer in use: its late reports are ignored.
  real.raiseError(-5);
  EXPECT_EQ(f.dz1.text(), "list#0000002#");
}

TEST_F(PlayerEventsTest, RealLiveStreamOutsideAScanIsShownAndRecorded) {
  f.tvm.setText("Radio");
  f.dz1.setText("rtsp://live/radio.rm");
  f.ElapsedMs = 0;
  realPlaying("rtsp://live/radio.rm", 0);
  EXPECT_TRUE(f.Timer5.enabled());
  EXPECT_EQ(f.ElapsedMs, 1);
  EXPECT_TRUE(f.Command14.enabled());
  EXPECT_EQ(f.Label1.caption(), "0:0:0");
  EXPECT_EQ(f.Text1.text(), "rtsp://live/radio.rm\r");
  EXPECT_EQ(found(), QStringList{"Radio,rtsp://live/radio.rm,"});
}

TEST_F(PlayerEventsTest, RealClipsPlayersOwnClipsAndHashesAreNotRecorded) {
  f.tvm.setText("x");
  f.dz1.setText("rtsp://a");
  f.ElapsedMs = 90000;
  realPlaying("rtsp://a/clip.rm", 65000);
  EXPECT_EQ(f.Label1.caption(), "0:1:5");
  EXPECT_EQ(f.ElapsedMs, 1);
  for (const QString source : {"http://a/update.ram", "http://a/full.rm", "http://a/bb.rm"}) {
    f.dz1.setText(source);
    realPlaying(source, 0);
  }
  f.dz1.setText("rtsp://a#b");
  realPlaying("rtsp://a#b", 0);
  EXPECT_FALSE(exists("tv_lib_ss_jg.txt"));
}

TEST_F(PlayerEventsTest, RealHitDuringAScanIsRecordedAndItsStopMovesOn) {
  scanAt(2);
  playback::PlayWithRealPlayer(f, "mms://host/2");
  takeLog();
  realPlaying("mms://host/2", 0);
  EXPECT_EQ(found(), QStringList{"Station 2,mms://host/2,"});
  EXPECT_EQ(f.PlayingCount, 0);
  EXPECT_TRUE(log.contains("real.call(202)"));
  real.raiseState(RealPlayer::Stopped);
  EXPECT_EQ(f.dz1.text(), "list#0000003#");
  EXPECT_EQ(wmp.source, "mms://host/3");
}

TEST_F(PlayerEventsTest, StalledStreamIsStoppedAndItsStopPlaysTheNextStation) {
  f.dz1.setText("rtsp://a/live.rm");
  playback::PlayWithRealPlayer(f, "rtsp://a/live.rm");
  f.Timer10.setEnabled(false);
  realPlaying("rtsp://a/live.rm", 0);
  takeLog();
  real.raiseState(RealPlayer::Buffering);
  EXPECT_EQ(takeLog(), QStringList{"real.call(202)"});
  EXPECT_EQ(f.RealStallStop, 1);
  EXPECT_EQ(f.ElapsedMs, 0);
  real.raiseState(RealPlayer::Stopped);
  EXPECT_TRUE(f.Timer10.enabled());
}

TEST_F(PlayerEventsTest, NoStallRuleInManualModeOrDuringAnAutomaticRun) {
  f.dz1.setText("rtsp://a/live.rm");
  f.Check2.setChecked(true);
  realPlaying("rtsp://a/live.rm", 0);
  f.Check2.setChecked(true);
  real.raiseState(RealPlayer::Buffering);
  f.Check2.setChecked(false);
  f.RunMode = kAutomaticRun;
  realPlaying("rtsp://a/live.rm", 0);
  real.raiseState(RealPlayer::Buffering);
  EXPECT_FALSE(log.contains("real.call(202)"));
}

TEST_F(PlayerEventsTest, ClipThatStopsByItselfDoesNotMoveOn) {
  f.dz1.setText("rtsp://a/clip.rm");
  playback::PlayWithRealPlayer(f, "rtsp://a/clip.rm");
  f.Timer10.setEnabled(false);
  realPlaying("rtsp://a/clip.rm", 5000);
  real.raiseState(RealPlayer::Stopped);
  EXPECT_FALSE(f.Timer10.enabled());
  EXPECT_FALSE(f.Command14.enabled());
}

TEST_F(PlayerEventsTest, CommunicatingStopsTheClock) {
  real.props[RealPlayer::StatusText] = "Communicating";
  real.raiseState(RealPlayer::Buffering);
  EXPECT_FALSE(f.Timer5.enabled());
  f.Timer5.setEnabled(true);
  real.props[RealPlayer::StatusText] = "正在通信";
  real.raiseState(RealPlayer::Buffering);
  EXPECT_FALSE(f.Timer5.enabled());
}

TEST_F(PlayerEventsTest, ThreeNumberReportWithOneFirstIsAcknowledged) {
  Q_EMIT real.ThreeNumberEvent(2, 1, 1);
  EXPECT_TRUE(log.isEmpty());
  Q_EMIT real.ThreeNumberEvent(1, 0, 0);
  EXPECT_EQ(log, QStringList{"real.call(293)"});
}

// Test-play operations.

TEST_F(PlayerEventsTest, HitWithoutAMarkerRecordsNothing) {
  f.RunMode = kAutomaticRun;
  f.tvm.addItem("First");
  f.dz1.addItem("mms://first");
  f.dz1.setText("mms://first");
  playing("mms://first", "03:00");
  EXPECT_EQ(f.Text2.text(), "");
  EXPECT_FALSE(exists("tv_lib_ss_jg.txt"));
  EXPECT_FALSE(log.contains("wmp.close"));
}

TEST_F(PlayerEventsTest, DeferredStartTakesQueuedThenFallbackThenNextCandidate) {
  scanAt(1);
  f.PendingAddress = "mms://queued";
  f.CurrentAddress = "mms://current";
  f.Timer8.setEnabled(true);
  monitor::StartQueuedAddress(f);
  EXPECT_EQ(wmp.source, "mms://queued");
  EXPECT_EQ(f.CurrentAddress, "");
  EXPECT_FALSE(f.Timer8.enabled());
  f.CurrentAddress = "mms://current";
  monitor::StartQueuedAddress(f);
  EXPECT_EQ(wmp.source, "mms://current");
  monitor::StartQueuedAddress(f);
  EXPECT_EQ(wmp.source, "mms://host/2");
  EXPECT_EQ(f.dz1.text(), "list#0000002#");
}

TEST_F(PlayerEventsTest, FailureReportedWhileTheAddressIsHandedOverKeepsTheScanGoing) {
  f.startTimers();
  scanAt(1);
  f.PendingAddress = "mms://host/1";
  // The engine reports buffering inside the call, and the failure arrives
  // while that report's handler yields.
  wmp.onSetURL = [this](const QString& url) {
    if (url != "mms://host/1") return;
    host.post([this] {
      wmp.state = MediaPlayer::Ready;
      wmp.raiseError(-13);
      wmp.raiseState(MediaPlayer::Ready);
    });
    wmp.raiseState(MediaPlayer::Buffering);
  };
  monitor::StartQueuedAddress(f);
  EXPECT_EQ(f.dz1.text(), "list#0000002#");
  EXPECT_TRUE(f.Timer8.enabled());
  host.advance(50);
  EXPECT_EQ(wmp.source, "mms://host/2");
}

TEST_F(PlayerEventsTest, DeferredStartWaitsWhileTheRealPlayerIsInUse) {
  scanAt(1);
  playback::PlayWithRealPlayer(f, "rtsp://a.rm");
  f.PendingAddress = "mms://queued";
  takeLog();
  monitor::StartQueuedAddress(f);
  EXPECT_EQ(f.PendingAddress, "mms://queued");
  EXPECT_TRUE(log.isEmpty());
}

}  // namespace
