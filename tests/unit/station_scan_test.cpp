#include <QElapsedTimer>

#include "form_fixture.h"
#include "library/station_list.h"
#include "monitor/list_scan.h"
#include "playback/play_address.h"

namespace {

// Whole station scans on the fakes, driven only by what the fake players
// report and by the timers. Each address has an outcome in each player. As
// the real engines do, a player reports only changes of its state, a report
// of a load that has since been replaced, closed or stopped is dropped, and
// what a command does (buffering after a new address, ready after close,
// stopped after stop) is reported either a little later or, as the libmpv
// players do, at once inside the call.
class StationScanTest : public FormTest {
 protected:
  enum class Wmp { Plays, PlaysFinite, Fails, Unsupported, EndsAtOnce, StopsAtOnce, BuffersThenFails };
  enum class Real { Plays, Fails, StopsAtOnce };
  static constexpr qint64 kWatchdogMs = 15000;
  static constexpr int kFailureCode = -5;

  StationScanTest() {
    wmp.onSetURL = [this](const QString& url) {
      ++m_wmpLoad;
      markStack();
      tries << url;
      wmpCommand(MediaPlayer::Buffering);
      scriptMediaPlayer(wmpOutcome.value(url, playback::isRealMediaAddress(url.toLower())
                                                 ? Wmp::Unsupported
                                                 : Wmp::Fails));
    };
    wmp.onClose = [this] {
      ++m_wmpLoad;
      wmpCommand(MediaPlayer::Ready);
    };
    wmp.onStop = [this] {
      if (wmp.state == MediaPlayer::Ready) return;
      ++m_wmpLoad;
      wmpCommand(MediaPlayer::Stopped);
    };
    real.onPlay = [this](const QString& source) {
      ++m_realLoad;
      markStack();
      tries << "real:" + source;
      realCommand(RealPlayer::Buffering);
      scriptRealPlayer(realOutcome.value(source, Real::Fails));
    };
    real.onStop = [this] {
      if (realState() == RealPlayer::Stopped) return;
      ++m_realLoad;
      realCommand(RealPlayer::Stopped);
    };
  }

  // Loads the candidates the way the station test does: found by page
  // scanning, then the extra results, with a separator between.
  void loadCandidates(const QStringList& scanned, const QStringList& extra) {
    writeLines("tv_lib_ss_www.txt", scanned);
    writeLines("tv_lib_ss.txt", extra);
    library::LoadStationList(f, "tv_lib_ss_www.txt");
    library::LoadStationList(f, "tv_lib_ss.txt");
  }

  // Starts the scan and runs the clock until it has ended (or the limit).
  void runScan(qint64 limitMs = 600000) {
    f.startTimers();
    f.RunMode = kAutomaticRun;
    monitor::StartListScan(f);
    while (host.messages.isEmpty() && host.now() < limitMs) host.advance(1000);
    host.advance(1000);
  }

  QStringList markers(int last) const {
    QStringList all;
    for (int i = 0; i <= last; ++i) all << QString("list#%1#").arg(i, 7, 10, QChar('0'));
    return all;
  }

  void expectScanEnded(const QStringList& foundNames, int lastCounter) {
    ASSERT_EQ(host.messages.size(), 1);
    EXPECT_EQ(host.messages[0].text, "搜索完毕！");
    EXPECT_EQ(host.messages[0].title, "搜索");
    EXPECT_EQ(host.messages[0].icon, MessageIcon::Stop);
    EXPECT_EQ(f.tvm.items(), foundNames);
    EXPECT_EQ(f.tvm.text(), foundNames.value(0));
    EXPECT_EQ(f.dz1.text(), markers(lastCounter).last());
    EXPECT_EQ(f.List3.items(), markers(lastCounter));
    EXPECT_TRUE(f.StopFlag);
  }

  // Thirteen candidates (a separator among them) that play, fail, end, stop
  // and hang in both players; five of them play.
  void runMixedScan() {
    wmpOutcome = {{"mms://tv/cctv1", Wmp::Plays},        {"http://tv/news.asf", Wmp::Fails},
                  {"http://tv/film.wmv", Wmp::PlaysFinite}, {"http://tv/song.mp3", Wmp::EndsAtOnce},
                  {"mms://tv/stuck", Wmp::BuffersThenFails}, {"http://tv/odd.xyz", Wmp::Unsupported},
                  {"http://tv/quiet", Wmp::StopsAtOnce},   {"mms://tv/live2", Wmp::Plays}};
    realOutcome = {{"rtsp://tv/radio.rm", Real::Plays},
                   {"rtsp://tv/radio2.rm", Real::Plays},
                   {"rtsp://tv/drop.rm", Real::StopsAtOnce}};
    loadCandidates({"CCTV-1,mms://tv/cctv1,", "News,http://tv/news.asf,",
                    "Radio,rtsp://tv/radio.rm,", "Radio2,rtsp://tv/radio2.rm,",
                    "Film,http://tv/film.wmv,", "Gone,http://tv/gone.ram,"},
                   {"Song,http://tv/song.mp3,", "Stuck,mms://tv/stuck,", "Odd,http://tv/odd.xyz,",
                    "Quiet,http://tv/quiet,", "Drop,rtsp://tv/drop.rm,", "Live2,mms://tv/live2,"});
    ASSERT_EQ(f.dz1.count(), 13);
    runScan();
    EXPECT_EQ(readLines("tv_lib_ss_jg.txt"),
              QStringList({"CCTV-1,mms://tv/cctv1,", "Radio,rtsp://tv/radio.rm,",
                           "Radio2,rtsp://tv/radio2.rm,", "Film,http://tv/film.wmv,",
                           "Live2,mms://tv/live2,"}));
    expectScanEnded({"CCTV-1", "Radio", "Radio2", "Film", "Live2"}, 13);
    EXPECT_EQ(f.PlayingCount, 3);
    EXPECT_EQ(f.Command3.caption(), "3");
    // The news failure queues the radio, which goes to the real player at
    // once; the quiet one, first started by a play, is tried twice.
    EXPECT_EQ(tries, QStringList({"mms://tv/cctv1", "http://tv/news.asf",
                                  "real:rtsp://tv/radio.rm", "real:rtsp://tv/radio2.rm",
                                  "http://tv/film.wmv", "http://tv/gone.ram",
                                  "real:http://tv/gone.ram", "-------------", "http://tv/song.mp3",
                                  "mms://tv/stuck", "http://tv/odd.xyz", "real:http://tv/odd.xyz",
                                  "http://tv/quiet", "http://tv/quiet", "rtsp://tv/drop.rm",
                                  "real:rtsp://tv/drop.rm", "mms://tv/live2"}));
  }

  QHash<QString, Wmp> wmpOutcome;
  QHash<QString, Real> realOutcome;
  bool immediateReports = false;
  QStringList tries;  // every start, in order; "real:" for the real player
  quintptr stackLow = ~quintptr(0), stackHigh = 0;

 private:
  // Runs fn after delayMs unless the load has changed by then.
  void later(const int& load, qint64 delayMs, std::function<void()> fn) {
    const int at = load;
    host.post([&load, at, fn] {
      if (load == at) fn();
    }, delayMs);
  }

  void markStack() {
    const auto here = reinterpret_cast<quintptr>(__builtin_frame_address(0));
    stackLow = std::min(stackLow, here);
    stackHigh = std::max(stackHigh, here);
  }

  int realState() const { return real.props.value(RealPlayer::PlayState).toInt(); }

  void wmpReport(int state, const QString& duration = QString()) {
    if (!duration.isNull()) wmp.duration = duration;
    if (wmp.state != state) wmp.raiseState(state);
  }
  void wmpCommand(int state) {
    if (immediateReports) {
      wmpReport(state);
    } else {
      wmpLater(5, state);
    }
  }
  void wmpLater(qint64 delayMs, int state, const QString& duration = QString()) {
    later(m_wmpLoad, delayMs, [this, state, duration] { wmpReport(state, duration); });
  }
  void wmpError(qint64 delayMs, int code) {
    later(m_wmpLoad, delayMs, [this, code] { wmp.raiseError(code, QStringLiteral("失败")); });
    wmpLater(delayMs + 1, MediaPlayer::Ready);
  }

  void scriptMediaPlayer(Wmp outcome) {
    switch (outcome) {
      case Wmp::Plays:
        wmpLater(20, MediaPlayer::Playing, "00:00");
        break;
      case Wmp::PlaysFinite:
        wmpLater(20, MediaPlayer::Playing, "25:00");
        wmpLater(1500000, MediaPlayer::MediaEnded);
        break;
      case Wmp::Fails:
        wmpError(30, kFailureCode);
        break;
      case Wmp::Unsupported:
        wmpError(10, MediaPlayer::kUnsupportedFormat);
        break;
      case Wmp::EndsAtOnce:
        wmpLater(20, MediaPlayer::MediaEnded);
        break;
      case Wmp::StopsAtOnce:
        wmpLater(20, MediaPlayer::Stopped);
        break;
      case Wmp::BuffersThenFails:
        wmpError(kWatchdogMs, kFailureCode);
        break;
    }
  }

  void realReport(int state) {
    real.props[RealPlayer::Length] = 0;
    if (realState() != state) real.raiseState(state);
  }
  void realCommand(int state) {
    if (immediateReports) {
      realReport(state);
    } else {
      realLater(5, state);
    }
  }
  void realLater(qint64 delayMs, int state) {
    later(m_realLoad, delayMs, [this, state] { realReport(state); });
  }

  void scriptRealPlayer(Real outcome) {
    switch (outcome) {
      case Real::Plays:
        realLater(20, RealPlayer::Playing);
        break;
      case Real::Fails:
        later(m_realLoad, 30, [this] { real.raiseError(kFailureCode); });
        realLater(31, RealPlayer::Stopped);
        break;
      case Real::StopsAtOnce:
        realLater(20, RealPlayer::Stopped);
        break;
    }
  }

  int m_wmpLoad = 0;
  int m_realLoad = 0;
};

TEST_F(StationScanTest, MixedCandidatesKeepExactlyThoseThatPlay) { runMixedScan(); }

TEST_F(StationScanTest, MixedCandidatesWithReportsInsideTheCalls) {
  immediateReports = true;
  runMixedScan();
}

TEST_F(StationScanTest, ScanWithoutHitsKeepsTheEarlierFindsAndIgnoresManualMode) {
  writeLines("tv_lib_ss_jg.txt", {"Earlier,mms://earlier,"});
  wmpOutcome = {{"mms://earlier", Wmp::Plays}, {"http://a/end.mp3", Wmp::EndsAtOnce}};
  loadCandidates({"Earlier,mms://earlier,", "A,http://a/fail,", "B,http://a/b.RM,"},
                 {"C,rtsp://a/c.rm,", "D,http://a/end.mp3,", "E,http://a/odd,"});
  wmpOutcome["http://a/odd"] = Wmp::Unsupported;
  f.Check2.setChecked(true);
  runScan();

  EXPECT_EQ(readLines("tv_lib_ss_jg.txt"), QStringList{"Earlier,mms://earlier,"});
  expectScanEnded({"Earlier"}, 7);
  EXPECT_EQ(f.PlayingCount, 1);
  EXPECT_TRUE(tries.contains("real:http://a/b.RM"));
  EXPECT_TRUE(tries.contains("real:rtsp://a/c.rm"));
  EXPECT_TRUE(tries.contains("real:http://a/odd"));
}

TEST_F(StationScanTest, StopAllHaltsTheScanWhereItIs) {
  loadCandidates({"A,mms://a/1,", "B,mms://a/2,", "C,mms://a/3,", "D,mms://a/4,"}, {});
  wmpOutcome = {{"mms://a/1", Wmp::Plays}, {"mms://a/2", Wmp::BuffersThenFails},
                {"mms://a/3", Wmp::Plays}};
  f.startTimers();
  f.RunMode = kAutomaticRun;
  monitor::StartListScan(f);
  host.advance(1000);
  EXPECT_EQ(f.dz1.text(), "list#0000001#");
  playback::StopAll(f);
  host.advance(60000);

  EXPECT_EQ(readLines("tv_lib_ss_jg.txt"), QStringList{"A,mms://a/1,"});
  EXPECT_EQ(f.dz1.text(), "list#0000001#");
  EXPECT_EQ(f.List3.items(), markers(1));
  EXPECT_EQ(tries, QStringList({"mms://a/1", "mms://a/2"}));
  EXPECT_TRUE(host.messages.isEmpty());
}

TEST_F(StationScanTest, EmptyCandidateListEndsAtOnce) {
  writeLines("tv_lib_ss_jg.txt", {"Earlier,mms://earlier,"});
  runScan();
  expectScanEnded({"Earlier"}, 1);
  EXPECT_TRUE(tries.isEmpty());
}

TEST_F(StationScanTest, ThousandCandidatesRunWithoutDeepeningTheStack) {
  // Reports inside the calls nest deepest.
  immediateReports = true;
  QStringList scanned, expected;
  for (int i = 0; i < 1000; ++i) {
    const bool real = i % 10 == 3;
    const QString address = real ? QString("rtsp://host/%1.rm").arg(i) : QString("mms://host/%1").arg(i);
    scanned << QString("S%1,%2,").arg(i).arg(address);
    // Every fifth media player candidate and every other real one play.
    const bool plays = real ? i % 20 == 3 : i % 5 == 0;
    if (!plays) continue;
    if (real) {
      realOutcome[address] = Real::Plays;
    } else {
      wmpOutcome[address] = Wmp::Plays;
    }
    expected << QString("S%1,%2,").arg(i).arg(address);
  }
  loadCandidates(scanned, {});
  ASSERT_EQ(f.dz1.count(), 1001);
  QElapsedTimer clock;
  clock.start();
  runScan(3600000);
  const qint64 wallMs = clock.elapsed();

  EXPECT_EQ(readLines("tv_lib_ss_jg.txt"), expected);
  EXPECT_EQ(f.List3.count(), 1002);
  EXPECT_EQ(f.List3.items().last(), "list#0001001#");
  EXPECT_EQ(host.messages.size(), 1);
  EXPECT_LT(stackHigh - stackLow, 64u * 1024u);
  RecordProperty("wall_ms", static_cast<int>(wallMs));
  RecordProperty("virtual_ms", static_cast<int>(host.now()));
  RecordProperty("stack_spread_bytes", static_cast<int>(stackHigh - stackLow));
}

}  // namespace
