#include <QElapsedTimer>
#include <QFile>
#include <QTemporaryDir>
#include <algorithm>
#include <gtest/gtest.h>
#include <unistd.h>

#include "form/form.h"
#include "app/wiring.h"
#include "base/core_host.h"
#include "base/text_file.h"
#include "engines/mpv_media_player.h"
#include "engines/mpv_real_player.h"
#include "event_loop_wait.h"
#include "fake_engines.h"
#include "library/station_list.h"
#include "media_fixtures.h"
#include "monitor/list_scan.h"
#include "library/scan_marker_text.h"

namespace {

// Measured figures, printed and kept as test properties; times are not
// asserted, memory growth is.
class MpvPerformanceTest : public MediaServerTest {
 protected:
  // Milliseconds from setURL to the state, over several tries.
  QList<qint64> timeToState(const QString& address, int state, int tries) {
    QList<qint64> times;
    for (int i = 0; i < tries; ++i) {
      wmp.close();
      QElapsedTimer clock;
      clock.start();
      wmp.setURL(address);
      if (!waitUntil([&] { return wmp.playState() == state || wmp.errorCount() > 0; }, 5000))
        continue;
      times << clock.elapsed();
      wmp.clearErrorQueue();
    }
    std::sort(times.begin(), times.end());
    return times;
  }

  void report(const char* name, const QList<qint64>& sortedMs) {
    ASSERT_FALSE(sortedMs.isEmpty()) << name;
    const qint64 median = sortedMs.at(sortedMs.size() / 2);
    std::printf("%s: median %lld ms, max %lld ms over %lld tries\n", name,
                static_cast<long long>(median), static_cast<long long>(sortedMs.last()),
                static_cast<long long>(sortedMs.size()));
    RecordProperty(std::string(name) + "_median_ms", static_cast<int>(median));
    RecordProperty(std::string(name) + "_max_ms", static_cast<int>(sortedMs.last()));
  }

  static qint64 residentBytes() {
    QFile statm("/proc/self/statm");
    if (!statm.open(QIODevice::ReadOnly)) return 0;
    return statm.readAll().split(' ').value(1).toLongLong() * sysconf(_SC_PAGESIZE);
  }

  MpvMediaPlayer wmp;
};

TEST_F(MpvPerformanceTest, LocalHttpMp3StartsPlaying) {
  const QList<qint64> times = timeToState(server.url("/media/tone.mp3"), MediaPlayer::Playing, 15);
  report("setURL_to_playing_local_http_mp3", times);
  EXPECT_EQ(times.size(), 15);
}

TEST_F(MpvPerformanceTest, RefusedPortIsReported) {
  const QString address =
      QStringLiteral("http://127.0.0.1:%1/a.mp3").arg(LocalHttpServer::refusedPort());
  const QList<qint64> times = timeToState(address, -1, 15);
  report("setURL_to_error_refused_port", times);
  EXPECT_EQ(times.size(), 15);
}

TEST_F(MpvPerformanceTest, ScanOfFiftyCandidatesOnTwoHandlesDoesNotGrow) {
  QTemporaryDir dir;
  CoreHost host;
  MpvRealPlayer real;
  QStringList browserLog;
  FakeBrowser browser(browserLog);
  Form f(host, wmp, real, browser, dir.path());
  app::wire(f);
  QStringList lines;
  for (int i = 0; i < 50; ++i) {
    const QString media = i % 2 ? "tone.rm" : i % 3 ? "tone.mp3" : "tone.ogg";
    lines << QStringLiteral("S%1,%2?n=%1,").arg(i).arg(server.url("/media/" + media));
  }
  ASSERT_TRUE(textfile::writeLines(f.path("tv_lib_ss_www.txt"), lines));
  library::LoadStationList(f, "tv_lib_ss_www.txt");
  f.startTimers();
  f.RunMode = kAutomaticRun;

  QElapsedTimer clock;
  clock.start();
  monitor::StartListScan(f);
  qint64 atTenth = 0;
  ASSERT_TRUE(waitUntil([&] { return library::scanCounter(f.dz1.text()).value_or(0) >= 10; },
                        30000));
  atTenth = residentBytes();
  ASSERT_TRUE(waitUntil([&] { return f.StopFlag && f.dz1.text() == "list#0000050#"; }, 60000));
  const qint64 atFiftieth = residentBytes();
  const qint64 growth = atFiftieth - atTenth;
  std::printf("scan of 50 candidates: %lld ms; resident %lld MB at the 10th, %lld MB at the "
              "50th (growth %lld KB)\n",
              static_cast<long long>(clock.elapsed()), static_cast<long long>(atTenth >> 20),
              static_cast<long long>(atFiftieth >> 20), static_cast<long long>(growth >> 10));
  RecordProperty("scan50_ms", static_cast<int>(clock.elapsed()));
  RecordProperty("memory_growth_kb", static_cast<int>(growth >> 10));
  EXPECT_EQ(textfile::readLines(f.path("tv_lib_ss_jg.txt")).value_or(QStringList()), lines);
  EXPECT_LT(growth, 50LL << 20);
}

}  // namespace
