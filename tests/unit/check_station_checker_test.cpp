// The station checker's logic on fake players: the verdict each kind of
// stream gets, one deadline, retries, the engine limit, a broken engine and
// stopping.
#include <gtest/gtest.h>

#include <QMap>
#include <QTcpServer>

#include "check/station_checker.h"
#include "event_loop_wait.h"
#include "fake_check_player.h"

using check::CheckLimits;
using check::CheckResult;
using check::Outcome;
using check::StationChecker;
using Act = FakeStream::Act;

namespace {

constexpr int kTimeoutMs = 400;

CheckLimits limits(int engines = 2) {
  CheckLimits l;
  l.engines = engines;
  l.probes = 4;
  l.timeoutMs = kTimeoutMs;
  l.minPlayMs = 1000;
  l.retryPauseMs = 20;
  return l;
}

// Addresses the prober leaves to the engine.
QString address(int i) { return QStringLiteral("fake://station/%1").arg(i); }

struct CheckRun {
  QMap<int, CheckResult> results;
  int resultSignals = 0;
  int finished = 0;
  QStringList engineFailures;
};

CheckRun runCheck(FakeStreams& streams, int count, const CheckLimits& l, int waitMs = 5000) {
  playlists::StationList stations;
  for (int i = 0; i < count; ++i) stations.append({QStringLiteral("s%1").arg(i), address(i), {}});
  StationChecker checker(stations, l, fakeCheckPlayers(streams));
  CheckRun run;
  QObject::connect(&checker, &StationChecker::stationChecked, [&](int i, const CheckResult& r) {
    ++run.resultSignals;
    run.results.insert(i, r);
  });
  QObject::connect(&checker, &StationChecker::finished, [&] { ++run.finished; });
  QObject::connect(&checker, &StationChecker::engineFailed,
                   [&](const QString& m) { run.engineFailures << m; });
  checker.start();
  waitUntil([&] { return run.finished > 0 || !run.engineFailures.isEmpty(); }, waitMs);
  runEventsFor(30);
  return run;
}

FakeStream stream(Act act, qint64 decodedMs = 2000, MediaFacts facts = audioFacts()) {
  FakeStream s;
  s.act = act;
  s.decodedMs = decodedMs;
  s.facts = facts;
  return s;
}

FakeStream failing(LoadFailure f) {
  FakeStream s = stream(Act::Fail);
  s.failure = f;
  return s;
}

}  // namespace

TEST(StationChecker, EachKindOfStreamGetsItsOutcome) {
  MediaFacts silent = audioFacts();
  silent.silent = true;
  MediaFacts still;
  still.stillImage = true;
  FakeStream startsThenFails = stream(Act::Start);
  startsThenFails.failure = LoadFailure::Unreachable;
  const struct {
    const char* what;
    FakeStream stream;
    bool strict;
    Outcome expected;
  } cases[] = {
      {"plays", stream(Act::Play), false, Outcome::Playing},
      {"too little decoded yet", stream(Act::Play, 500), false, Outcome::TimedOut},
      {"a short file played to its end", stream(Act::EndAfter, 1500), false, Outcome::Playing},
      {"closes before the media asked for", stream(Act::EndAfter, 300), false, Outcome::Dropped},
      {"a still image", stream(Act::EndAfter, 0, still), false, Outcome::BadMedia},
      {"a still image that runs on", stream(Act::Play, 2000, still), false, Outcome::BadMedia},
      {"started then broke", startsThenFails, false, Outcome::Dropped},
      {"unreachable", failing(LoadFailure::Unreachable), false, Outcome::Refused},
      {"missing", failing(LoadFailure::Missing), false, Outcome::NotFound},
      {"undecodable", failing(LoadFailure::UnsupportedFormat), false, Outcome::BadMedia},
      {"engine timed out", failing(LoadFailure::TimedOut), false, Outcome::TimedOut},
      {"hangs", stream(Act::Hang), false, Outcome::TimedOut},
      {"silent passes", stream(Act::Play, 2000, silent), false, Outcome::Playing},
      {"silent fails a strict check", stream(Act::Play, 2000, silent), true, Outcome::Flagged},
  };
  FakeStreams streams;
  CheckLimits l = limits(4);
  const int n = static_cast<int>(std::size(cases));
  for (int i = 0; i < n; ++i) streams.scripts[address(i)] = {cases[i].stream};
  // Strict is a setting of the whole run: strict cases run again alone.
  const CheckRun run = runCheck(streams, n, l);
  ASSERT_EQ(run.finished, 1);
  ASSERT_EQ(run.resultSignals, n);
  for (int i = 0; i < n; ++i) {
    if (cases[i].strict) continue;
    EXPECT_EQ(run.results.value(i).outcome, cases[i].expected) << cases[i].what;
    EXPECT_EQ(run.results.value(i).facts.silent, cases[i].stream.facts.silent) << cases[i].what;
  }
  for (int i = 0; i < n; ++i) {
    if (!cases[i].strict) continue;
    FakeStreams strictStreams;
    strictStreams.scripts[address(0)] = {cases[i].stream};
    l.strict = true;
    EXPECT_EQ(runCheck(strictStreams, 1, l).results.value(0).outcome, cases[i].expected)
        << cases[i].what;
  }
}

// At the deadline, bytes that kept coming while the engine had time and
// decoded nothing are no media; a trickle, or no time, is a time-out.
TEST(StationChecker, BytesThatNeverDecodeAreBadMediaAtTheDeadline) {
  const auto receiving = [](FakeStream s, qint64 bytes) {
    s.receivedBytes = bytes;
    return s;
  };
  const struct {
    const char* what;
    FakeStream stream;
    int minPlayMs;
    Outcome expected;
  } cases[] = {
      {"nothing came", stream(Act::Hang), 200, Outcome::TimedOut},
      {"a trickle came", receiving(stream(Act::Hang), 2000), 200, Outcome::TimedOut},
      {"plenty came, nothing decoded", receiving(stream(Act::Hang), 1 << 20), 200,
       Outcome::BadMedia},
      {"plenty came, a little decoded", receiving(stream(Act::Play, 100), 1 << 20), 200,
       Outcome::TimedOut},
      {"plenty came, too little time", receiving(stream(Act::Hang), 1 << 20), kTimeoutMs * 2,
       Outcome::TimedOut},
  };
  for (const auto& c : cases) {
    FakeStreams streams;
    streams.scripts[address(0)] = {c.stream};
    CheckLimits l = limits();
    l.minPlayMs = c.minPlayMs;
    EXPECT_EQ(runCheck(streams, 1, l).results.value(0).outcome, c.expected) << c.what;
  }
}

TEST(StationChecker, RetriesComeAfterTheOthersAndMarkAPassFlaky) {
  FakeStreams streams;
  streams.scripts[address(0)] = {failing(LoadFailure::Unreachable), stream(Act::Play)};
  streams.scripts[address(1)] = {failing(LoadFailure::Unreachable)};
  streams.scripts[address(2)] = {stream(Act::Play)};
  CheckLimits l = limits();
  l.retries = 2;
  const CheckRun run = runCheck(streams, 3, l);
  ASSERT_EQ(run.resultSignals, 3);
  EXPECT_EQ(run.results.value(0).outcome, Outcome::Playing);
  EXPECT_TRUE(run.results.value(0).flaky);
  EXPECT_EQ(run.results.value(0).attempts, 2);
  EXPECT_EQ(run.results.value(1).outcome, Outcome::Refused);
  EXPECT_EQ(run.results.value(1).attempts, 3);
  EXPECT_FALSE(run.results.value(2).flaky);
  // Station 0's second try waits for station 2's first.
  EXPECT_LT(streams.opened.indexOf(address(2)), streams.opened.lastIndexOf(address(0)));

  FakeStreams once;
  once.scripts[address(0)] = {failing(LoadFailure::Unreachable), stream(Act::Play)};
  EXPECT_EQ(runCheck(once, 1, limits()).results.value(0).outcome, Outcome::Refused);
}

TEST(StationChecker, NeverMorePlayersThanAllowedAndEachStationOnce) {
  FakeStreams streams;
  for (int i = 0; i < 30; ++i)
    streams.scripts[address(i)] = {i % 3 == 0 ? failing(LoadFailure::Missing) : stream(Act::Play)};
  const CheckRun run = runCheck(streams, 30, limits(3));
  EXPECT_EQ(run.finished, 1);
  EXPECT_EQ(run.resultSignals, 30);
  EXPECT_EQ(streams.created, 3);
  EXPECT_LE(streams.mostOpen, 3);
  EXPECT_EQ(streams.openNow, 0);
}

// One player, stations that each take most of the limit: the time a
// station waits for the player is not held against it.
TEST(StationChecker, TheWaitForAFreePlayerIsNotTheStationsTime) {
  FakeStreams streams;
  FakeStream slow = stream(Act::Play);
  slow.delayMs = kTimeoutMs * 3 / 4;
  for (int i = 0; i < 3; ++i) streams.scripts[address(i)] = {slow};
  const CheckRun run = runCheck(streams, 3, limits(1));
  ASSERT_EQ(run.results.size(), 3);
  for (const CheckResult& r : run.results) EXPECT_EQ(r.outcome, Outcome::Playing);
}

TEST(StationChecker, ABrokenEngineStopsTheCheckAtOnceWithOneMessage) {
  FakeStreams streams;
  streams.startFails = true;
  QElapsedTimer clock;
  clock.start();
  const CheckRun run = runCheck(streams, 20, limits(4));
  EXPECT_LT(clock.elapsed(), kTimeoutMs);
  EXPECT_EQ(run.engineFailures, QStringList{"engine broken"});
  EXPECT_EQ(run.resultSignals, 0);
  EXPECT_EQ(run.finished, 0);
  EXPECT_EQ(streams.created, 1);
}

TEST(StationChecker, StopEndsEveryAttemptAndSignalsNothingMore) {
  FakeStreams streams;
  for (int i = 0; i < 6; ++i) streams.scripts[address(i)] = {stream(Act::Hang)};
  playlists::StationList stations;
  for (int i = 0; i < 6; ++i) stations.append({QString(), address(i), {}});
  StationChecker checker(stations, limits(), fakeCheckPlayers(streams));
  int raised = 0;
  QObject::connect(&checker, &StationChecker::stationChecked, [&] { ++raised; });
  QObject::connect(&checker, &StationChecker::finished, [&] { ++raised; });
  checker.start();
  waitUntil([&] { return streams.openNow == 2; }, 2000);
  checker.stop();
  EXPECT_EQ(streams.openNow, 0);
  runEventsFor(kTimeoutMs + 200);
  EXPECT_EQ(raised, 0);
}

// Probing runs ahead of a busy player: a server further down the list is
// asked while the first station still holds the only player.
TEST(StationChecker, ProbingRunsAheadOfABusyPlayer) {
  QTcpServer silent;
  ASSERT_TRUE(silent.listen(QHostAddress::LocalHost));
  FakeStreams streams;
  playlists::StationList stations;
  // One plays and three wait: within two probes' room, not within one's.
  for (int i = 0; i < 4; ++i) {
    streams.scripts[address(i)] = {stream(Act::Hang)};
    stations.append({QStringLiteral("s%1").arg(i), address(i), {}});
  }
  const QString silentAddress = QStringLiteral("http://127.0.0.1:%1/a.mp3").arg(silent.serverPort());
  stations.append({"silent", silentAddress, {}});
  CheckLimits l = limits(1);
  l.probes = 2;
  l.timeoutMs = 10000;
  StationChecker checker(stations, l, fakeCheckPlayers(streams));
  int checked = 0;
  QObject::connect(&checker, &StationChecker::stationChecked, [&checked] { ++checked; });
  checker.start();
  EXPECT_TRUE(waitUntil([&silent] { return silent.hasPendingConnections(); }, 5000));
  EXPECT_EQ(checked, 0);
  checker.stop();
}
