#include <QTemporaryDir>
#include <gtest/gtest.h>

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

namespace {

// A whole station scan on the real engines and Qt's event loop, over local
// stations that play, fail, hang, stall, or need the real player.
class MpvStationScanTest : public MediaServerTest {
 protected:
  static constexpr int kStartLimitMs = 1500;

  void SetUp() override {
    MediaServerTest::SetUp();
    wmp.session().setStartTimeout(kStartLimitMs);
    real.session().setStartTimeout(kStartLimitMs);
    app::wire(f);
  }

  QString refused(const QString& path) const {
    return QStringLiteral("http://127.0.0.1:%1%2").arg(LocalHttpServer::refusedPort()).arg(path);
  }

  QTemporaryDir dir;
  QStringList messages;
  CoreHost host{[this](const QString& text, const QString&) { messages << text; }};
  MpvMediaPlayer wmp;
  MpvRealPlayer real;
  QStringList browserLog;
  FakeBrowser browser{browserLog};
  Form f{host, wmp, real, browser, dir.path()};
};

TEST_F(MpvStationScanTest, KeepsExactlyTheStationsThatPlay) {
  server.addLive("/live", MediaFixtures::instance().bytes("live.mp3"), "audio/mpeg", 8000);
  server.addHanging("/hang.mp3");
  server.addStatus("/gone.mp3", 404);
  server.addFile("/clip.ram", refused("/a.rm").toUtf8() + "\r\n" +
                                  server.url("/media/tone.rm").toUtf8() + "\r\n",
                 "audio/x-pn-realaudio");
  server.addFile("/tv.asx", "<asx><entry><ref href=\"" + refused("/a.wmv").toUtf8() +
                                "\"/><ref href=\"/media/tone.wmv\"/></entry></asx>",
                 "video/x-ms-asf");
  addStallingMp3();

  const QList<std::pair<QString, bool>> stations = {
      {"音乐," + server.url("/media/tone.mp3"), true},
      {"直播," + server.url("/live"), true},
      {"拒绝," + refused("/x.mp3"), false},
      {"无响应," + server.url("/hang.mp3"), false},
      {"Real列表," + server.url("/clip.ram"), true},
      {"ASX列表," + server.url("/tv.asx"), true},
      {"格式," + server.url("/media/bad.bin"), false},
      {"Ogg," + server.url("/media/tone.ogg"), true},
      {"不存在," + server.url("/gone.mp3"), false},
      {"Real," + server.url("/media/tone.rm"), true},
      {"RTSP," + QStringLiteral("rtsp://127.0.0.1:%1/x.rm").arg(LocalHttpServer::refusedPort()),
       false},
      {"卡顿," + server.url("/stall.mp3"), true},
  };
  QStringList lines, playing;
  for (const auto& [station, plays] : stations) {
    lines << station + ",";
    if (plays) playing << station + ",";
  }
  ASSERT_TRUE(textfile::writeLines(f.path("tv_lib_ss_www.txt"), lines));
  library::LoadStationList(f, "tv_lib_ss_www.txt");
  ASSERT_EQ(f.dz1.count(), 12);

  f.startTimers();
  f.RunMode = kAutomaticRun;
  monitor::StartListScan(f);
  ASSERT_TRUE(waitUntil([&] { return !messages.isEmpty(); }, 60000)) << f.dz1.text().toStdString();
  runEventsFor(500);

  EXPECT_EQ(messages, QStringList{"搜索完毕！"});
  EXPECT_EQ(textfile::readLines(f.path("tv_lib_ss_jg.txt")).value_or(QStringList()), playing);
  EXPECT_EQ(f.dz1.text(), "list#0000012#");
  for (const char* path : {"/hang.mp3", "/gone.mp3", "/media/bad.bin", "/stall.mp3"})
    EXPECT_TRUE(server.requests().contains(path)) << path;
  EXPECT_TRUE(f.StopFlag);
  EXPECT_EQ(wmp.playState(), MediaPlayer::Ready);
  EXPECT_EQ(real.get(RealPlayer::PlayState).toInt(), RealPlayer::Stopped);
}

}  // namespace
