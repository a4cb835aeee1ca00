#include <QElapsedTimer>
#include <QThread>
#include <gtest/gtest.h>

#include "engines/mpv_media_player.h"
#include "event_loop_wait.h"
#include "media_fixtures.h"

namespace {

// What the player raised, with the duration text it showed when playing.
struct MediaEvents {
  explicit MediaEvents(MpvMediaPlayer& player) {
    QObject::connect(&player, &MediaPlayer::PlayStateChange, &guard, [this, &player](int s) {
      states << s;
      if (s == MediaPlayer::Playing) durationWhenPlaying = player.durationString();
    });
    QObject::connect(&player, &MediaPlayer::Error, &guard, [this] { ++errors; });
  }
  bool sawState(int s) const { return states.contains(s); }

  QObject guard;
  QList<int> states;
  int errors = 0;
  QString durationWhenPlaying;
};

class MpvMediaPlayerTest : public MediaServerTest {
 protected:
  void SetUp() override {
    MediaServerTest::SetUp();
    player.session().setStartTimeout(2000);
  }

  bool waitForState(int s, int ms = 5000) {
    return waitUntil([&] { return player.playState() == s; }, ms);
  }
  int errorCode() const { return player.errorItem(0) ? player.errorItem(0)->code : 0; }

  MpvMediaPlayer player;
  MediaEvents events{player};
};

TEST_F(MpvMediaPlayerTest, FileBuffersPlaysEndsAndStaysEndedUntilClosed) {
  player.setURL(server.url("/media/tone.mp3"));
  EXPECT_EQ(player.playState(), MediaPlayer::Buffering);
  ASSERT_TRUE(waitForState(MediaPlayer::MediaEnded, 6000));
  EXPECT_EQ(events.durationWhenPlaying, "00:02");
  EXPECT_EQ(player.sourceURL(), server.url("/media/tone.mp3"));
  // mpv goes idle a few hundred ms after the end; that changes nothing.
  runEventsFor(800);
  EXPECT_EQ(player.playState(), MediaPlayer::MediaEnded);
  player.close();
  EXPECT_EQ(events.states, (QList<int>{MediaPlayer::Buffering, MediaPlayer::Playing,
                                       MediaPlayer::MediaEnded, MediaPlayer::Ready}));
  EXPECT_EQ(events.errors, 0);
}

TEST_F(MpvMediaPlayerTest, LiveStreamPlaysWithoutLength) {
  server.addLive("/live", MediaFixtures::instance().bytes("live.mp3"), "audio/mpeg", 8000);
  player.setURL(server.url("/live"));
  ASSERT_TRUE(waitForState(MediaPlayer::Playing));
  EXPECT_EQ(events.durationWhenPlaying, "00:00");
  runEventsFor(500);
  EXPECT_EQ(player.playState(), MediaPlayer::Playing);
  player.close();
  EXPECT_EQ(player.playState(), MediaPlayer::Ready);
}

TEST_F(MpvMediaPlayerTest, LiveStreamThatDropsIsAFailure) {
  auto station = std::make_unique<LocalHttpServer>();
  ASSERT_TRUE(station->start());
  station->addLive("/live", MediaFixtures::instance().bytes("live.mp3"), "audio/mpeg", 8000);
  player.setURL(station->url("/live"));
  ASSERT_TRUE(waitForState(MediaPlayer::Playing));
  station.reset();
  ASSERT_TRUE(waitUntil([&] { return events.errors > 0; }, 5000));
  EXPECT_EQ(errorCode(), MpvMediaPlayer::errorCodeOf(LoadFailure::Dropped));
  EXPECT_EQ(player.playState(), MediaPlayer::Ready);
}

TEST_F(MpvMediaPlayerTest, PauseStopAndPlayAgain) {
  player.setURL(server.url("/media/long.mp3"));
  ASSERT_TRUE(waitForState(MediaPlayer::Playing));
  player.pause();
  EXPECT_EQ(player.playState(), MediaPlayer::Paused);
  player.play();
  EXPECT_EQ(player.playState(), MediaPlayer::Playing);
  player.stop();
  EXPECT_EQ(player.playState(), MediaPlayer::Stopped);
  runEventsFor(300);
  EXPECT_EQ(player.playState(), MediaPlayer::Stopped);
  player.play();
  EXPECT_TRUE(waitForState(MediaPlayer::Playing));
  EXPECT_EQ(events.errors, 0);
}

TEST_F(MpvMediaPlayerTest, RefusedPortFailsWithinASecond) {
  QElapsedTimer clock;
  clock.start();
  player.setURL(QStringLiteral("http://127.0.0.1:%1/a.mp3").arg(LocalHttpServer::refusedPort()));
  ASSERT_TRUE(waitUntil([&] { return events.errors > 0; }, 1000));
  EXPECT_LT(clock.elapsed(), 1000);
  ASSERT_EQ(player.errorCount(), 1);
  EXPECT_EQ(errorCode(), MpvMediaPlayer::errorCodeOf(LoadFailure::Unreachable));
  EXPECT_FALSE(player.errorItem(0)->description.isEmpty());
  EXPECT_EQ(events.states, (QList<int>{MediaPlayer::Buffering, MediaPlayer::Ready}));
}

TEST_F(MpvMediaPlayerTest, HangingServerFailsAtTheStartLimit) {
  server.addHanging("/hang.mp3");
  player.session().setStartTimeout(1500);
  QElapsedTimer clock;
  clock.start();
  player.setURL(server.url("/hang.mp3"));
  ASSERT_TRUE(waitUntil([&] { return events.errors > 0; }, 4000));
  EXPECT_GE(clock.elapsed(), 1400);
  EXPECT_LT(clock.elapsed(), 2500);
  EXPECT_EQ(errorCode(), MpvMediaPlayer::errorCodeOf(LoadFailure::TimedOut));
  EXPECT_EQ(player.playState(), MediaPlayer::Ready);
}

TEST_F(MpvMediaPlayerTest, SilentRtspServerFailsAtTheNetworkTimeout) {
  server.addHanging("/hang.rm");
  player.session().setStartTimeout(6000);
  player.session().setNetworkTimeout(1000);
  QElapsedTimer clock;
  clock.start();
  player.setURL(QStringLiteral("rtsp://127.0.0.1:%1/hang.rm").arg(server.port()));
  ASSERT_TRUE(waitUntil([&] { return events.errors > 0; }, 7000));
  EXPECT_LT(clock.elapsed(), 3000);
  EXPECT_EQ(errorCode(), MpvMediaPlayer::errorCodeOf(LoadFailure::TimedOut));
}

TEST_F(MpvMediaPlayerTest, PlayCountRepeatsTheMedium) {
  player.setPlayCount(2);
  QElapsedTimer clock;
  clock.start();
  player.setURL(server.url("/media/tone.mp3"));
  ASSERT_TRUE(waitForState(MediaPlayer::MediaEnded, 8000));
  EXPECT_GT(clock.elapsed(), 3000);
  EXPECT_EQ(events.states, (QList<int>{MediaPlayer::Buffering, MediaPlayer::Playing,
                                       MediaPlayer::MediaEnded}));
}

TEST_F(MpvMediaPlayerTest, EachKindOfFailureHasItsOwnCode) {
  server.addStatus("/gone.mp3", 404);
  server.addStatus("/locked.mp3", 403);
  server.addStatus("/broken.mp3", 503);
  const QList<std::pair<QString, int>> cases = {
      {server.url("/media/bad.bin"), MediaPlayer::kUnsupportedFormat},
      {MediaFixtures::instance().path("bad.bin"), MediaPlayer::kUnsupportedFormat},
      {MediaFixtures::instance().path("absent.mp3"),
       MpvMediaPlayer::errorCodeOf(LoadFailure::Missing)},
      {server.url("/gone.mp3"), MpvMediaPlayer::errorCodeOf(LoadFailure::Missing)},
      {server.url("/locked.mp3"), MpvMediaPlayer::errorCodeOf(LoadFailure::Forbidden)},
      {server.url("/broken.mp3"), MpvMediaPlayer::errorCodeOf(LoadFailure::ServerError)},
  };
  for (const auto& [address, code] : cases) {
    player.clearErrorQueue();
    const int before = events.errors;
    player.setURL(address);
    ASSERT_TRUE(waitUntil([&] { return events.errors > before; }, 3000)) << address.toStdString();
    EXPECT_EQ(errorCode(), code) << address.toStdString();
    EXPECT_EQ(player.playState(), MediaPlayer::Ready);
  }
  QSet<int> codes;
  for (LoadFailure f : kAllLoadFailures) codes << MpvMediaPlayer::errorCodeOf(f);
  EXPECT_EQ(codes.size(), std::size(kAllLoadFailures));
}

TEST_F(MpvMediaPlayerTest, StallIsReportedAsBufferingThenPlaying) {
  addStallingMp3();
  player.setURL(server.url("/stall.mp3"));
  ASSERT_TRUE(waitUntil([&] { return events.states.count(MediaPlayer::Playing) == 2; }, 8000));
  EXPECT_EQ(events.states, (QList<int>{MediaPlayer::Buffering, MediaPlayer::Playing,
                                       MediaPlayer::Buffering, MediaPlayer::Playing}));
  EXPECT_EQ(events.errors, 0);
}

TEST_F(MpvMediaPlayerTest, AsxPlaysItsFirstEntryThatPlays) {
  const QString refused =
      QStringLiteral("http://127.0.0.1:%1/x.mp3").arg(LocalHttpServer::refusedPort());
  const QByteArray asx = "<ASX Version=\"3.0\"><!-- <ref href=\"nothing\"/> -->\r\n"
                         "<Entry><REF HREF=\"" + refused.toUtf8() + "\" />\r\n"
                         "<Ref href='/media/long.mp3'/></Entry></ASX>\r\n";
  server.addFile("/list.asx", asx, "video/x-ms-asf");
  player.setURL(server.url("/list.asx"));
  ASSERT_TRUE(waitForState(MediaPlayer::Playing));
  EXPECT_EQ(player.sourceURL(), server.url("/list.asx"));
  EXPECT_EQ(events.errors, 0);
  EXPECT_TRUE(server.requests().contains("/media/long.mp3"));
}

TEST_F(MpvMediaPlayerTest, AsxWhoseEntriesAllFailReportsOneError) {
  server.addFile("/none.asx", "<asx><entry><ref href=\"/missing.mp3\"/><ref href=\"/media/bad.bin\"/>"
                              "</entry></asx>", "video/x-ms-asf");
  player.setURL(server.url("/none.asx"));
  ASSERT_TRUE(waitUntil([&] { return events.errors > 0; }, 3000));
  runEventsFor(300);
  EXPECT_EQ(events.errors, 1);
  EXPECT_EQ(player.errorCount(), 1);
  EXPECT_EQ(player.playState(), MediaPlayer::Ready);
}

TEST_F(MpvMediaPlayerTest, StreamNamedLikeAListPlaysAsItself) {
  server.addLive("/stream.asx", MediaFixtures::instance().bytes("tone.wmv"), "video/x-ms-asf",
                 16000);
  player.setURL(server.url("/stream.asx"));
  EXPECT_TRUE(waitForState(MediaPlayer::Playing));
  EXPECT_EQ(events.errors, 0);
}

TEST_F(MpvMediaPlayerTest, UnreachableAsxFailsLikeItsAddress) {
  player.setURL(QStringLiteral("http://127.0.0.1:%1/a.asx").arg(LocalHttpServer::refusedPort()));
  ASSERT_TRUE(waitUntil([&] { return events.errors > 0; }, 2000));
  EXPECT_EQ(errorCode(), MpvMediaPlayer::errorCodeOf(LoadFailure::Unreachable));
}

TEST_F(MpvMediaPlayerTest, NewAddressesNeverSeeAnOlderLoadsLateEvents) {
  player.setURL(server.url("/media/tone.mp3"));
  ASSERT_TRUE(waitForState(MediaPlayer::Playing));
  // Let the medium end inside mpv without reading its events, then move on.
  QThread::msleep(2500);
  server.addHanging("/hang.mp3");
  player.setURL(server.url("/hang.mp3"));
  runEventsFor(500);
  EXPECT_FALSE(events.sawState(MediaPlayer::MediaEnded));
  EXPECT_EQ(player.playState(), MediaPlayer::Buffering);

  // A fast series of failing addresses: only the last load counts.
  const QString refused =
      QStringLiteral("http://127.0.0.1:%1/x.mp3").arg(LocalHttpServer::refusedPort());
  for (int i = 0; i < 5; ++i) player.setURL(refused);
  player.setURL(server.url("/media/long.mp3"));
  ASSERT_TRUE(waitForState(MediaPlayer::Playing));
  runEventsFor(300);
  EXPECT_EQ(events.errors, 0);
  EXPECT_EQ(player.playState(), MediaPlayer::Playing);
}

TEST_F(MpvMediaPlayerTest, VersionNamesTheEngine) {
  EXPECT_TRUE(player.versionInfo().startsWith("12.0.0."));
  EXPECT_EQ(player.versionInfo(), "12.0." + player.session().version());
}

class MpvMediaFormatTest : public MpvMediaPlayerTest,
                           public ::testing::WithParamInterface<const char*> {};

TEST_P(MpvMediaFormatTest, Plays) {
  player.setURL(server.url(QStringLiteral("/media/") + GetParam()));
  EXPECT_TRUE(waitForState(MediaPlayer::Playing));
  EXPECT_EQ(events.errors, 0);
}

INSTANTIATE_TEST_SUITE_P(Formats, MpvMediaFormatTest,
                         ::testing::Values("tone.ogg", "tone.wmv", "tone.ts", "tone.rm",
                                           "hls/index.m3u8"));

TEST_F(MpvMediaPlayerTest, LocalFilePlays) {
  player.setURL(MediaFixtures::instance().path("tone.mp3"));
  EXPECT_TRUE(waitForState(MediaPlayer::Playing));
  EXPECT_EQ(events.durationWhenPlaying, "00:02");
}

}  // namespace
