// The line-switching controller on a fake engine and the virtual clock: when
// it moves on, what it tells, what the history keeps.
#include <QTemporaryDir>
#include <gtest/gtest.h>

#include "channels/line_switcher.h"
#include "fake_channel_player.h"
#include "history/health_db.h"
#include "history/line_key.h"
#include "line_verdicts.h"

namespace {

using channels::LineEvent;
using channels::LineSwitcher;

const QDateTime kStart = QDateTime(QDate(2024, 3, 1), QTime(12, 0), Qt::UTC);

QString address(char line) { return QStringLiteral("http://tv.example/%1.m3u8").arg(line); }

playlists::StationList channel(const QString& lines) {
  playlists::StationList stations;
  for (QChar c : lines) stations.append({QStringLiteral("CCTV-1"), address(c.toLatin1()), {}});
  return stations;
}

FakeLine failing(int afterMs, const char* reason, int status = 0) {
  FakeLine l;
  l.startAfterMs = -1;
  l.failAfterMs = afterMs;
  l.failReason = QString::fromLatin1(reason);
  l.failStatus = status;
  return l;
}

FakeLine playingFor(int ms) {
  FakeLine l;
  l.playsForMs = ms;
  return l;
}

FakeLine droppingAfter(int ms) {
  FakeLine l;
  l.failAfterMs = ms;
  l.failReason = QStringLiteral("dropped");
  return l;
}

FakeLine flagged(MediaFlag flag) {
  FakeLine l;
  l.flag = flag;
  return l;
}

FakeLine neverStarts() {
  FakeLine l;
  l.startAfterMs = -1;
  return l;
}

// A controller on a fake engine, the test host and a history of its own.
struct Rig {
  Rig() {
    EXPECT_TRUE(db.open(dir.path()).ok);
    QObject::connect(&switcher, &LineSwitcher::event, [this](const LineEvent& e) {
      const QString reason =
          e.kind == LineEvent::Kind::Flagged ? channels::flagWord(e.flag) : e.reason;
      transcript << QStringLiteral("%1s %2 %3/%4 %5 %6")
                        .arg(host.now() / 1000)
                        .arg(channels::kindWord(e.kind))
                        .arg(e.number)
                        .arg(e.lines)
                        .arg(e.address.section(u'/', -1).left(1), reason)
                        .trimmed();
    });
  }

  QDateTime now() const { return kStart.addMSecs(host.now()); }
  QList<history::LineVerdict> verdictsOf(char line) const {
    return db.verdicts(history::lineKey(address(line)));
  }
  // The lines played, by their letters.
  QString played() const {
    QString letters;
    for (const QString& a : player.played) letters += a.section(u'/', -1).left(1);
    return letters;
  }

  QTemporaryDir dir;
  TestHost host;
  history::HealthDb db{[this] { return now(); }};
  FakeChannelPlayer player{host};
  LineSwitcher switcher{player, host, db, [this] { return now(); }};
  QStringList transcript;  // "second kind number/lines line reason"
};

struct SwitchCase {
  const char* what;
  QString lines;
  QList<std::pair<char, FakeLine>> scripts;
  int runMs;
  QStringList transcript;  // "second kind number/lines line reason"
  QString played;
  qint64 goodMs;
};

TEST(LineSwitcher, MovesOnWhenALineFailsStallsOrGoesBad) {
  const SwitchCase cases[] = {
      {"a line that fails to start gives way at once",
       "ab", {{'a', failing(200, "refused")}}, 3000,
       {"0s chosen 1/2 a", "0s failed 1/2 a refused", "0s switched 2/2 b refused",
        "0s started 2/2 b"},
       "ab", 2700},
      {"a line that stalls after 3 s gives way after the stall time",
       "ab", {{'a', playingFor(3000)}}, 12000,
       {"0s chosen 1/2 a", "0s started 1/2 a", "11s stalled 1/2 a stalled",
        "11s switched 2/2 b stalled", "11s started 2/2 b"},
       "ab", 2900 + 900},
      {"a black line gives way after the bad time; its seconds are not good play",
       "ab", {{'a', flagged(MediaFlag::Black)}}, 20000,
       {"0s chosen 1/2 a", "0s started 1/2 a", "15s flagged 1/2 a black",
        "15s switched 2/2 b flagged", "15s started 2/2 b"},
       "ab", 4800},
      {"a line that stops after playing gives way",
       "ab", {{'a', droppingAfter(2000)}}, 3000,
       {"0s chosen 1/2 a", "0s started 1/2 a", "2s failed 1/2 a dropped", "2s switched 2/2 b dropped",
        "2s started 2/2 b"},
       "ab", 2700},
      {"when every line failed once the channel stops, and does not come round again",
       "abc",
       {{'a', failing(100, "refused")}, {'b', failing(100, "not_found", 404)}, {'c', neverStarts()}},
       60000,
       {"0s chosen 1/3 a", "0s failed 1/3 a refused", "0s switched 2/3 b refused",
        "0s failed 2/3 b not_found", "0s switched 3/3 c not_found", "15s failed 3/3 c timed_out",
        "15s gave_up 3/3 c timed_out"},
       "abc", 0},
      {"a line that played long enough clears the others' failures",
       "ab", {{'a', failing(100, "refused")}, {'b', playingFor(130000)}}, 145000,
       {"0s chosen 1/2 a", "0s failed 1/2 a refused", "0s switched 2/2 b refused",
        "0s started 2/2 b", "138s stalled 2/2 b stalled", "138s switched 1/2 a stalled",
        "138s failed 1/2 a refused", "138s gave_up 1/2 a refused"},
       "aba", 129900},
  };
  for (const SwitchCase& c : cases) {
    SCOPED_TRACE(c.what);
    Rig rig;
    for (const auto& [line, script] : c.scripts) rig.player.lines.insert(address(line), script);
    rig.switcher.playChannel(channel(c.lines));
    rig.host.advance(c.runMs);
    EXPECT_EQ(rig.transcript, c.transcript);
    EXPECT_EQ(rig.played(), c.played);
    EXPECT_EQ(rig.switcher.goodMs(), c.goodMs);
  }
}

TEST(LineSwitcher, StartsWithTheLineTheHistoryRanksBest) {
  Rig rig;
  // c failed an hour ago, b played, a was never tried.
  ASSERT_TRUE(rig.db.record(verdictOf(history::lineKey(address('c')), history::outcome::kFailed,
                                  rig.now().addSecs(-3600)))
                  .ok);
  ASSERT_TRUE(rig.db.record(verdictOf(history::lineKey(address('b')), history::outcome::kPlaying,
                                  rig.now().addSecs(-3600)))
                  .ok);
  rig.switcher.playChannel(channel("abc"));
  rig.host.advance(500);
  EXPECT_EQ(rig.player.played, QStringList{address('b')});
  QStringList order;
  for (const playlists::Station& s : rig.switcher.lines()) order << s.address;
  EXPECT_EQ(order, (QStringList{address('b'), address('a'), address('c')}));
  EXPECT_EQ(rig.transcript.first(), "0s chosen 1/3 b");
}

TEST(LineSwitcher, EveryOutcomeGoesIntoTheHistory) {
  Rig rig;
  rig.player.lines.insert(address('a'), failing(100, "forbidden", 403));
  rig.player.lines.insert(address('b'), flagged(MediaFlag::Silent));
  rig.switcher.setLimits({8000, 3000, 15000});
  rig.switcher.playChannel(channel("abc"));
  rig.host.advance(5000);

  const auto a = rig.verdictsOf('a');
  ASSERT_EQ(a.size(), 1);
  EXPECT_EQ(a[0].outcome, history::outcome::kFailed);
  EXPECT_EQ(a[0].reason, "forbidden");
  EXPECT_EQ(a[0].httpStatus, 403);
  EXPECT_EQ(a[0].source, history::source::kPlay);
  const auto b = rig.verdictsOf('b');
  ASSERT_EQ(b.size(), 2);
  EXPECT_EQ(b[0].outcome, history::outcome::kPlaying);
  EXPECT_EQ(b[0].firstFrameMs, 100);
  EXPECT_EQ(b[1].reason, "flagged");
  EXPECT_TRUE(b[1].silent);
  EXPECT_FALSE(b[1].black);
  const auto c = rig.verdictsOf('c');
  ASSERT_EQ(c.size(), 1);
  EXPECT_EQ(c[0].outcome, history::outcome::kPlaying);
}

TEST(LineSwitcher, APickByHandStaysOnItsLineUntilTheNextChannel) {
  Rig rig;
  rig.player.lines.insert(address('b'), failing(500, "refused"));
  rig.player.lines.insert(address('c'), playingFor(1000));
  rig.switcher.playChannel(channel("abc"));
  rig.host.advance(1000);
  rig.switcher.pickLine(2);
  rig.host.advance(2000);
  // b failed: told, and nothing else plays.
  EXPECT_EQ(rig.player.played, (QStringList{address('a'), address('b')}));
  EXPECT_EQ(rig.transcript.mid(2), (QStringList{"1s chosen 2/3 b", "1s failed 2/3 b refused"}));
  EXPECT_FALSE(rig.switcher.switching());

  // A stall on a line picked by hand is told once; the line plays on.
  rig.transcript.clear();
  rig.switcher.stepLine(1);
  rig.host.advance(30000);
  EXPECT_EQ(rig.transcript, (QStringList{"3s chosen 3/3 c", "3s started 3/3 c",
                                     "12s stalled 3/3 c stalled"}));
  EXPECT_EQ(rig.player.played.last(), address('c'));

  // The next channel switches again.
  rig.transcript.clear();
  rig.switcher.playChannel(channel("bc"));
  rig.host.advance(1000);
  EXPECT_TRUE(rig.switcher.switching());
  EXPECT_EQ(rig.transcript, (QStringList{"33s chosen 1/2 b", "33s failed 1/2 b refused",
                                     "33s switched 2/2 c refused", "33s started 2/2 c"}));
}

TEST(LineSwitcher, SwitchingTurnedOffOnlyTellsOfABadLine) {
  Rig rig;
  rig.player.lines.insert(address('a'), flagged(MediaFlag::Frozen));
  rig.switcher.setSwitching(false);
  rig.switcher.setLimits({8000, 2000, 15000});
  rig.switcher.playChannel(channel("ab"));
  rig.host.advance(10000);
  EXPECT_EQ(rig.transcript, (QStringList{"0s chosen 1/2 a", "0s started 1/2 a",
                                     "2s flagged 1/2 a frozen"}));
  EXPECT_EQ(rig.player.played, QStringList{address('a')});
  EXPECT_EQ(rig.player.stops, 0);
}

}  // namespace
