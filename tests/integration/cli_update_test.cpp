// nettv update against subscription sources on 127.0.0.1: lists in three
// formats and charsets merged into the library and one ranked channel list;
// unchanged sources are not fetched again.
#include <gtest/gtest.h>

#include <QRegularExpression>
#include <QStringEncoder>
#include <QTemporaryDir>

#include "base/text_file.h"
#include "cli/commands.h"
#include "cli_capture.h"
#include "local_http_server.h"
#include "media_fixtures.h"
#include "library/subscription_list.h"
#include "playlists/station_files.h"
#include "temp_files.h"

using namespace cli;

namespace {

QByteArray gbk(const QString& text) { return QStringEncoder("GB18030").encode(text); }

class UpdateCommand : public ::testing::Test {
 protected:
  void SetUp() override {
    ASSERT_TRUE(MediaFixtures::instance().ok());
    ASSERT_TRUE(server.start());
    const QByteArray live = MediaFixtures::instance().bytes("live.mp3");
    for (const char* path : {"/1a.mp3", "/1b.mp3", "/1c.mp3", "/5a.mp3", "/5p.mp3", "/hn.mp3"})
      server.addLive(path, live, "audio/mpeg", 16000);
    server.addLocked("/locked.mp3", live.repeated(20), "audio/mpeg", "Referer", "http://tv.example/");
    server.addFile("/a.m3u",
                   QStringLiteral("#EXTM3U\n"
                                  "#EXTINF:-1 tvg-id=\"CCTV1.cn\" group-title=\"央视\",CCTV-1 综合\n"
                                  "%1\n"
                                  "#EXTINF:-1 group-title=\"央视\",CCTV-5+ 体育赛事\n"
                                  "#EXTVLCOPT:http-referrer=http://tv.example/\n%2\n")
                       .arg(server.url("/1a.mp3"), server.url("/locked.mp3"))
                       .toUtf8(),
                   "audio/x-mpegurl");
    server.addFile("/b.txt",
                   gbk(QStringLiteral("央视频道,#genre#\r\nCCTV1,%1#%2\r\nCCTV5,%3\r\n"
                                      "卫视频道,#genre#\r\n湖南卫视,%4\r\n")
                           .arg(server.url("/1b.mp3"), server.url("/1a.mp3"),
                                server.url("/5a.mp3"), server.url("/hn.mp3"))),
                   "text/plain");
    setSourceC(QStringLiteral("央视,#genre#\ncctv-1高清,%1\n").arg(server.url("/1c.mp3")));
    server.addStatus("/gone.txt", 404);
    writeFile(dir, library::kSubscriptionFile,
              QStringLiteral("# 订阅\nA源,%1\n%2\n%3\n坏源,%4\n")
                  .arg(server.url("/a.m3u"), server.url("/b.txt"), server.url("/c.txt"),
                       server.url("/gone.txt"))
                  .toUtf8());
  }

  void setSourceC(const QString& text) { server.addFile("/c.txt", text.toUtf8(), "text/plain"); }

  int update(ConsoleCapture& out, bool check) {
    CommandLine c;
    c.command = Command::Update;
    c.check = check;
    c.out = dir.filePath("best.txt");
    return runUpdate(c, dir.path(), out.console);
  }

  QStringList lines(const QString& name) const {
    return textfile::readLines(dir.filePath(name)).value_or(QStringList());
  }

  LocalHttpServer server;
  QTemporaryDir dir;
};

}  // namespace

TEST_F(UpdateCommand, SourcesMergeIntoOneRankedListAndUnchangedOnesAreNotFetchedAgain) {
  ConsoleCapture first;
  ASSERT_EQ(update(first, true), kExitDone) << first.errText().toStdString();
  const QString report = first.errText();
  EXPECT_TRUE(report.contains(QStringLiteral("failed (not_found)"))) << report.toStdString();
  EXPECT_EQ(lines(library::kLibraryFile).size(), 6);  // 1a once, though two sources name it

  const QStringList best = lines("best.txt");
  EXPECT_EQ(best.filter(QRegularExpression("^CCTV-1,")).size(), 3) << best.join('\n').toStdString();
  EXPECT_EQ(best.filter(QRegularExpression("^CCTV-5,")).size(), 1);
  EXPECT_EQ(best.filter(QRegularExpression("^CCTV-5\\+,")).size(), 1);
  EXPECT_TRUE(best.contains("CCTV-5+," + server.url("/locked.mp3") +
                            "|Referer=http://tv.example/"))
      << best.join('\n').toStdString();
  EXPECT_TRUE(best.contains("湖南卫视," + server.url("/hn.mp3")));

  ConsoleCapture second;
  ASSERT_EQ(update(second, false), kExitDone);
  EXPECT_EQ(second.errText().count(QStringLiteral("not modified")), 3) << second.errText().toStdString();
  EXPECT_EQ(lines(library::kLibraryFile).size(), 6);

  setSourceC(QStringLiteral("央视,#genre#\ncctv-1高清,%1\nCCTV 5,%2\n")
                 .arg(server.url("/1c.mp3"), server.url("/5p.mp3")));
  ConsoleCapture third;
  ASSERT_EQ(update(third, false), kExitDone);
  EXPECT_EQ(lines(library::kLibraryFile).size(), 7);
  EXPECT_TRUE(lines(library::kLibraryFile).last().startsWith("CCTV 5," + server.url("/5p.mp3")));
}
