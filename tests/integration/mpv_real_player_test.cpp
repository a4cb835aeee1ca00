#include <QFile>
#include <QTemporaryDir>
#include <gtest/gtest.h>

#include "engines/mpv_real_player.h"
#include "event_loop_wait.h"
#include "media_fixtures.h"

namespace {

using Change = std::pair<int, int>;

// The state changes and error codes the player raised, with the status
// text it showed at each change.
struct RealEvents {
  explicit RealEvents(MpvRealPlayer& player) {
    QObject::connect(&player, &RealPlayer::StateChange, &guard,
                     [this, &player](int oldState, int newState) {
                       changes << Change{oldState, newState};
                       statuses << player.get(RealPlayer::StatusText).toString();
                     });
    QObject::connect(&player, &RealPlayer::ErrorEvent, &guard,
                     [this](int, int code, int, const QString&, const QString&, const QString&) {
                       codes << code;
                     });
  }
  QObject guard;
  QList<Change> changes;
  QStringList statuses;
  QList<int> codes;
};

class MpvRealPlayerTest : public MediaServerTest {
 protected:
  void SetUp() override {
    MediaServerTest::SetUp();
    player.session().setStartTimeout(2000);
  }

  // What the play procedure issues: source, autostart, play.
  void play(const QString& address) {
    player.put(RealPlayer::Source, address);
    player.call(RealPlayer::AutoStart, {true});
    player.call(RealPlayer::Play);
  }
  int state() const { return player.get(RealPlayer::PlayState).toInt(); }
  bool waitForState(int s, int ms = 5000) {
    return waitUntil([&] { return state() == s; }, ms);
  }

  MpvRealPlayer player;
  RealEvents events{player};
};

TEST_F(MpvRealPlayerTest, PlayStallAndStopRaiseEveryChange) {
  addStallingMp3();
  play(server.url("/stall.mp3"));
  ASSERT_TRUE(waitUntil([&] { return events.changes.size() == 4; }, 8000));
  player.call(RealPlayer::Stop);
  using R = RealPlayer;
  EXPECT_EQ(events.changes,
            (QList<Change>{{R::Stopped, R::Buffering}, {R::Buffering, R::Playing},
                           {R::Playing, R::Buffering}, {R::Buffering, R::Playing},
                           {R::Playing, R::Stopped}}));
  // Connecting stops the play clock; a stall must not look like connecting.
  EXPECT_EQ(events.statuses.value(0), "正在通信");
  EXPECT_NE(events.statuses.value(2), "正在通信");
  EXPECT_GT(player.get(RealPlayer::Length).toInt(), 5000);
  EXPECT_TRUE(events.codes.isEmpty());
}

TEST_F(MpvRealPlayerTest, ClipEndsInStopped) {
  play(server.url("/media/tone.rm"));
  ASSERT_TRUE(waitForState(RealPlayer::Playing));
  EXPECT_EQ(player.get(RealPlayer::Source).toString(), server.url("/media/tone.rm"));
  ASSERT_TRUE(waitUntil([&] { return events.changes.size() == 3; }, 5000));
  EXPECT_EQ(events.changes.last(), Change(RealPlayer::Playing, RealPlayer::Stopped));
  runEventsFor(600);
  EXPECT_EQ(events.changes.size(), 3);
  EXPECT_TRUE(events.codes.isEmpty());
}

TEST_F(MpvRealPlayerTest, LiveStreamHasNoLength) {
  server.addLive("/live", MediaFixtures::instance().bytes("live.mp3"), "audio/mpeg", 8000);
  play(server.url("/live"));
  ASSERT_TRUE(waitForState(RealPlayer::Playing));
  EXPECT_EQ(player.get(RealPlayer::Length).toInt(), 0);
}

TEST_F(MpvRealPlayerTest, FailureRaisesTheErrorEventThenStops) {
  play(QStringLiteral("http://127.0.0.1:%1/a.rm").arg(LocalHttpServer::refusedPort()));
  ASSERT_TRUE(waitForState(RealPlayer::Stopped, 1000));
  EXPECT_EQ(events.codes, QList<int>{MpvRealPlayer::errorCodeOf(LoadFailure::Unreachable)});
  EXPECT_EQ(events.changes,
            (QList<Change>{{RealPlayer::Stopped, RealPlayer::Buffering},
                           {RealPlayer::Buffering, RealPlayer::Stopped}}));
}

TEST_F(MpvRealPlayerTest, ErrorHandlerThatStopsSeesNoSecondStop) {
  // The scan reacts to the error by stopping and starting the next candidate.
  QObject::connect(&player, &RealPlayer::ErrorEvent, &events.guard, [this] {
    player.call(RealPlayer::Stop);
    play(server.url("/media/tone.rm"));
  });
  play(QStringLiteral("http://127.0.0.1:%1/a.rm").arg(LocalHttpServer::refusedPort()));
  ASSERT_TRUE(waitForState(RealPlayer::Playing));
  using R = RealPlayer;
  EXPECT_EQ(events.changes,
            (QList<Change>{{R::Stopped, R::Buffering}, {R::Buffering, R::Stopped},
                           {R::Stopped, R::Buffering}, {R::Buffering, R::Playing}}));
}

TEST_F(MpvRealPlayerTest, RamPlaysItsFirstEntryThatPlays) {
  const QByteArray ram = "# a comment\r\n\r\nhttp://127.0.0.1:" +
                         QByteArray::number(LocalHttpServer::refusedPort()) +
                         "/x.rm\r\n--stop--\r\n" + server.url("/media/tone.rm").toUtf8() + "\r\n";
  server.addFile("/clip.ram", ram, "audio/x-pn-realaudio");
  play(server.url("/clip.ram"));
  ASSERT_TRUE(waitForState(RealPlayer::Playing));
  EXPECT_TRUE(events.codes.isEmpty());
}

TEST_F(MpvRealPlayerTest, LocalRamFallsOverToItsNextEntry) {
  QTemporaryDir dir;
  QFile ram(dir.filePath("clip.ram"));
  ASSERT_TRUE(ram.open(QIODevice::WriteOnly));
  ram.write("absent.rm\n" + MediaFixtures::instance().path("tone.rm").toUtf8() + "\n");
  ram.close();
  play(ram.fileName());
  ASSERT_TRUE(waitForState(RealPlayer::Playing));
  EXPECT_TRUE(events.codes.isEmpty());
}

TEST_F(MpvRealPlayerTest, PauseAndResume) {
  play(server.url("/media/long.mp3"));
  ASSERT_TRUE(waitForState(RealPlayer::Playing));
  player.call(RealPlayer::Pause);
  EXPECT_EQ(state(), RealPlayer::Paused);
  player.call(RealPlayer::Play);
  EXPECT_EQ(state(), RealPlayer::Playing);
}

TEST_F(MpvRealPlayerTest, PlayWithANewSourceReplacesTheClip) {
  play(server.url("/media/long.mp3"));
  ASSERT_TRUE(waitForState(RealPlayer::Playing));
  play(server.url("/media/tone.rm"));
  ASSERT_TRUE(waitUntil([&] { return events.changes.size() == 5; }, 5000));
  using R = RealPlayer;
  EXPECT_EQ(events.changes.mid(2), (QList<Change>{{R::Playing, R::Stopped},
                                                  {R::Stopped, R::Buffering},
                                                  {R::Buffering, R::Playing}}));
  // The length is the new clip's (unknown in its header), not the old 6 s.
  EXPECT_EQ(player.get(RealPlayer::Length).toInt(), 0);
}

TEST_F(MpvRealPlayerTest, HandOverKeepsALaterPlayFromStartingTheOldSource) {
  play(server.url("/media/long.mp3"));
  ASSERT_TRUE(waitForState(RealPlayer::Playing));
  player.call(RealPlayer::HandOver);
  player.call(RealPlayer::Stop);
  player.call(RealPlayer::Play);
  runEventsFor(300);
  EXPECT_EQ(state(), RealPlayer::Stopped);
}

TEST_F(MpvRealPlayerTest, AcceptsTheStartUpSettingsAndNamesItsVersion) {
  for (int id : {RealPlayer::Setting326, RealPlayer::Setting231, RealPlayer::Setting307,
                 RealPlayer::Setting275, RealPlayer::Setting221})
    EXPECT_TRUE(player.call(id, {true})) << id;
  EXPECT_TRUE(player.call(RealPlayer::Setting271, {3}));
  EXPECT_TRUE(player.call(RealPlayer::SoundOn, {false}));
  EXPECT_TRUE(player.get(RealPlayer::Setting220).isValid());
  EXPECT_FALSE(player.call(999));
  EXPECT_EQ(player.get(RealPlayer::Version).toString(), "16.0." + player.session().version());
  EXPECT_TRUE(events.changes.isEmpty());
}

}  // namespace
