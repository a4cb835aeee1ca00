// nettv check against servers on 127.0.0.1: stations that play, refuse,
// are missing, hang or hold no media, with duplicates and several files.
#include <gtest/gtest.h>

#include <QElapsedTimer>
#include <QFile>
#include <QJsonDocument>
#include <QJsonObject>
#include <QTemporaryDir>

#include "temp_files.h"
#include "base/text_file.h"
#include "cli/commands.h"
#include "cli_capture.h"
#include "fresh_check.h"
#include "playlists/station_files.h"
#include "local_http_server.h"
#include "media_fixtures.h"

using namespace cli;

namespace {

using Capture = ConsoleCapture;

class CheckCommand : public ::testing::Test {
 protected:
  void SetUp() override {
    ASSERT_TRUE(MediaFixtures::instance().ok());
    MediaFixtures::instance().serve(server);
    const QByteArray live = MediaFixtures::instance().bytes("live.mp3");
    server.addLive("/live.mp3", live, "audio/mpeg", 8000);
    server.addLive("/slow.mp3", live, "audio/mpeg", 8000, 1000);
    server.addHanging("/hang.mp3");
    server.addStatus("/error.mp3", 500);
    ASSERT_TRUE(server.start());
  }

  QString url(const QString& path) const { return server.url(path); }

  QString write(const QString& name, const QString& text) {
    return writeFile(dir, name, text.toUtf8());
  }

  CommandLine check(const QStringList& files) const {
    return freshCheck(files, 4, 4);
  }

  QStringList found() const {
    return textfile::readLines(dir.filePath(library::kFoundFile)).value_or(QStringList());
  }

  LocalHttpServer server;
  QTemporaryDir dir;
};

}  // namespace

TEST_F(CheckCommand, EveryVerdictWithMediaInfoAndHitsStoredOnce) {
  const QString refused =
      QStringLiteral("http://127.0.0.1:%1/x.mp3").arg(LocalHttpServer::refusedPort());
  const QString m3u = write(
      "list.m3u", QStringLiteral("#EXTM3U\n"
                                 "#EXTINF:-1,声音\n%1\n"
                                 "#EXTINF:-1,Ogg\n%2\n"
                                 "#EXTINF:-1,HLS\n%3\n"
                                 "#EXTINF:-1,直播\n%4\n"
                                 "#EXTINF:-1,Slow\n%5\n"
                                 "#EXTINF:-1,Video\n%6\n"
                                 "#EXTINF:-1,Again\n%7\n")
                      .arg(url("/media/tone.mp3"), url("/media/tone.ogg"),
                           url("/media/hls/index.m3u8"), url("/live.mp3"), url("/slow.mp3"),
                           url("/media/video.ts"), url("/media/tone.mp3").replace("http:", "HTTP:")));
  const QString txt =
      write("more.txt", QStringLiteral("拒绝,%1,\n缺失,%2,\n挂起,%3,\n错误,%4,\n"
                                       "坏,%5,\n本地,%6,\n")
                            .arg(refused, url("/missing.mp3"), url("/hang.mp3"), url("/error.mp3"),
                                 url("/media/bad.bin"), dir.filePath("nothing.mp3")));
  CommandLine c = check({m3u, txt});
  c.json = true;
  Capture capture;
  QElapsedTimer clock;
  clock.start();
  EXPECT_EQ(runCheck(c, dir.path(), capture.console), kExitSomeFailed);
  EXPECT_LT(clock.elapsed(), 20000);

  QHash<QString, QJsonObject> byName;
  for (const QString& line : capture.outLines()) {
    const QJsonObject o = QJsonDocument::fromJson(line.toUtf8()).object();
    byName.insert(o.value("name").toString(), o);
  }
  ASSERT_EQ(byName.size(), 12) << capture.out.data().toStdString();
  for (const char* name : {"声音", "Ogg", "HLS", "直播", "Slow", "Video"}) {
    const QJsonObject o = byName.value(QString::fromUtf8(name));
    EXPECT_EQ(o.value("verdict").toString(), "playing") << name;
    EXPECT_GT(o.value("seconds_to_media").toDouble(), 0) << name;
    EXPECT_FALSE(o.value("audio_codec").toString().isEmpty() &&
                 o.value("video_codec").toString().isEmpty())
        << name;
  }
  EXPECT_EQ(byName.value("声音").value("audio_codec").toString(), "mp3");
  EXPECT_EQ(byName.value("声音").value("bitrate").toInt(), 32000);
  EXPECT_EQ(byName.value("Video").value("width").toInt(), 640);
  EXPECT_EQ(byName.value("Video").value("height").toInt(), 360);
  EXPECT_GE(byName.value("Slow").value("seconds_to_media").toDouble(), 1.0);
  for (const auto& [name, reason] : {std::pair{"拒绝", "refused"},
                                     {"缺失", "not_found"},
                                     {"挂起", "timed_out"},
                                     {"错误", "server_error"},
                                     {"坏", "not_media"},
                                     {"本地", "not_found"}}) {
    const QJsonObject o = byName.value(QString::fromUtf8(name));
    EXPECT_EQ(o.value("verdict").toString(), "failed") << name;
    EXPECT_EQ(o.value("reason").toString(), reason) << name;
  }
  EXPECT_TRUE(QString::fromUtf8(capture.err.data()).contains("1 duplicates"));

  QStringList expected;
  for (const auto& [name, path] : {std::pair{"声音", "/media/tone.mp3"},
                                   {"Ogg", "/media/tone.ogg"},
                                   {"HLS", "/media/hls/index.m3u8"},
                                   {"直播", "/live.mp3"},
                                   {"Slow", "/slow.mp3"},
                                   {"Video", "/media/video.ts"}})
    expected << library::stationLine(QString::fromUtf8(name), url(path));
  QStringList stored = found();
  stored.sort();
  expected.sort();
  EXPECT_EQ(stored, expected);

  // A second run finds the same stations and stores nothing twice.
  Capture again;
  runCheck(check({m3u}), dir.path(), again.console);
  EXPECT_EQ(found().size(), 6);
  EXPECT_TRUE(again.outLines().first().contains("playing"));
}

TEST_F(CheckCommand, OutFileExitCodesAndUnreadableInput) {
  const QString pls = write(
      "ok.pls", QStringLiteral("[playlist]\nFile1=%1\nTitle1=One\n").arg(url("/media/tone.wmv")));
  CommandLine c = check({pls});
  c.out = dir.filePath("passed.txt");
  Capture capture;
  EXPECT_EQ(runCheck(c, dir.path(), capture.console), kExitDone);
  EXPECT_EQ(textfile::readLines(c.out).value_or(QStringList()),
            QStringList{library::stationLine("One", url("/media/tone.wmv"))});
  EXPECT_FALSE(QFile::exists(dir.filePath(library::kFoundFile)));
  EXPECT_TRUE(capture.outLines().first().contains("wmav2"));

  // One unreadable file: nothing is tested and nothing is written.
  Capture bad;
  EXPECT_EQ(runCheck(check({pls, dir.filePath("missing.m3u")}), dir.path(), bad.console),
            kExitBadInput);
  EXPECT_TRUE(bad.out.data().isEmpty());
  EXPECT_TRUE(QString::fromUtf8(bad.err.data()).contains("missing.m3u"));
  EXPECT_FALSE(QFile::exists(dir.filePath(library::kFoundFile)));

  // An empty playlist is done at once.
  Capture empty;
  EXPECT_EQ(runCheck(check({write("empty.m3u", "#EXTM3U\n")}), dir.path(), empty.console),
            kExitDone);
}
