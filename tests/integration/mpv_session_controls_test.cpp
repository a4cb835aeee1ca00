#include <QElapsedTimer>
#include <algorithm>
#include <functional>
#include <gtest/gtest.h>

#include "engines/mpv_session.h"
#include "event_loop_wait.h"
#include "media_fixtures.h"

namespace {

// What a control bar would show, as the session raised it.
struct ControlEvents {
  explicit ControlEvents(MpvSession& session) {
    QObject::connect(&session, &MpvSession::positionChanged, &guard,
                     [this](double s) { positions << s; });
    QObject::connect(&session, &MpvSession::durationChanged, &guard,
                     [this](double s) { durations << s; });
    QObject::connect(&session, &MpvSession::volumeChanged, &guard,
                     [this](double v) { volumes << v; });
    QObject::connect(&session, &MpvSession::muteChanged, &guard,
                     [this](bool m) { mutes << m; });
  }

  QObject guard;
  QList<double> positions;
  QList<double> durations;
  QList<double> volumes;
  QList<bool> mutes;
};

class MpvSessionControlsTest : public ::testing::Test {
 protected:
  static void SetUpTestSuite() { ASSERT_TRUE(MediaFixtures::instance().ok()); }

  void load(const char* medium) {
    session.load(playlists::StationAddress{MediaFixtures::instance().path(medium), {}});
  }
  bool waitForPosition(const std::function<bool(double)>& holds, int ms = 5000) {
    return waitUntil([&] { return !events.positions.isEmpty() && holds(events.positions.last()); },
                     ms);
  }

  MpvSession session{MpvOptions{}};
  ControlEvents events{session};
};

struct Medium {
  const char* name;
  double seconds;
};
void PrintTo(const Medium& m, std::ostream* out) { *out << m.name; }

class MpvSessionMediumTest : public MpvSessionControlsTest,
                             public ::testing::WithParamInterface<Medium> {};

TEST_P(MpvSessionMediumTest, ShowsPositionDurationVolumeAndMute) {
  session.reportControls();
  // Asking for the controls brings their values as they are.
  ASSERT_TRUE(waitUntil([&] { return !events.volumes.isEmpty() && !events.mutes.isEmpty(); }, 2000));
  EXPECT_EQ(events.volumes.last(), 100);
  EXPECT_FALSE(events.mutes.last());

  load(GetParam().name);
  ASSERT_TRUE(waitForPosition([](double s) { return s >= 0.5; }));
  ASSERT_FALSE(events.durations.isEmpty());
  EXPECT_NEAR(events.durations.last(), GetParam().seconds, 0.2);

  // A few positions a second, not one per decoded frame, in play order.
  const qsizetype before = events.positions.size();
  QElapsedTimer clock;
  clock.start();
  runEventsFor(1000);
  const qsizetype raised = events.positions.size() - before;
  EXPECT_GE(raised, 1);
  EXPECT_LE(raised, clock.elapsed() / MpvSession::kPositionIntervalMs + 1);
  EXPECT_TRUE(std::is_sorted(events.positions.begin(), events.positions.end()));
  EXPECT_LE(events.positions.last(), GetParam().seconds);

  // Nothing loaded: no length, no position.
  session.stop();
  EXPECT_TRUE(waitUntil([&] { return events.durations.last() == 0; }, 2000));
  EXPECT_TRUE(waitForPosition([](double s) { return s == 0; }, 2000));
}

INSTANTIATE_TEST_SUITE_P(LocalFiles, MpvSessionMediumTest,
                         ::testing::Values(Medium{"long.mp3", 6}, Medium{"video.ts", 3}),
                         [](const auto& info) { return info.index == 0 ? "Sound" : "Video"; });

TEST_F(MpvSessionControlsTest, SettingsComeBackAsEvents) {
  session.reportControls();
  load("long.mp3");
  ASSERT_TRUE(waitForPosition([](double s) { return s > 0; }));
  // Paused, the position moves only when the test seeks; an MP3 seeks to
  // the nearest frame it can find without an index.
  ASSERT_TRUE(session.pause());
  auto near = [&](double s) { return qAbs(events.positions.last() - s) < 0.5; };

  struct Setting {
    const char* what;
    std::function<void()> set;
    std::function<bool()> shown;
  };
  const Setting settings[] = {
      {"volume", [&] { session.setVolume(40); },
       [&] { return !events.volumes.isEmpty() && events.volumes.last() == 40; }},
      {"mute", [&] { session.setMuted(true); },
       [&] { return !events.mutes.isEmpty() && events.mutes.last(); }},
      {"sound on", [&] { session.setMuted(false); },
       [&] { return !events.mutes.isEmpty() && !events.mutes.last(); }},
      {"seek to", [&] { session.seekTo(4); },
       [&] { return near(4); }},
      {"seek back", [&] { session.seekBy(-2.5); },
       [&] { return near(1.5); }},
  };
  for (const Setting& s : settings) {
    s.set();
    EXPECT_TRUE(waitUntil(s.shown, 3000)) << s.what;
  }
}

}  // namespace
