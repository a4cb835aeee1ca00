// nettv check then nettv channels on 127.0.0.1: one channel under several
// spellings, its lines ranked by what the check measured.
#include <gtest/gtest.h>

#include <QFile>
#include <QTemporaryDir>

#include "base/text_file.h"
#include "cli/commands.h"
#include "cli_capture.h"
#include "history/health_db.h"
#include "history/line_key.h"
#include "local_http_server.h"
#include "media_fixtures.h"
#include "temp_files.h"

using namespace cli;

namespace {

class ChannelsCommand : public ::testing::Test {
 protected:
  void SetUp() override {
    const MediaFixtures& media = MediaFixtures::instance();
    ASSERT_TRUE(media.ok());
    const QString black = dir.filePath("black.ts");
    ASSERT_TRUE(makeMedia(black, {"-f", "lavfi", "-i", "color=black:size=320x180:rate=25", "-f",
                                  "lavfi", "-i", "sine=frequency=440", "-t", "4", "-c:v",
                                  "libx264", "-preset", "veryfast", "-c:a", "aac", "-f", "mpegts"}));
    const QByteArray live = media.bytes("live.mp3");  // 32 kb/s
    server.addLive("/good.mp3", live, "audio/mpeg", 16000);
    server.addLive("/throttled.mp3", live, "audio/mpeg", 2500);
    QFile blackFile(black);
    ASSERT_TRUE(blackFile.open(QIODevice::ReadOnly));
    server.addFile("/black.ts", blackFile.readAll(), "video/mp2t");
    server.addStatus("/forbidden.mp3", 403);
    ASSERT_TRUE(server.start());
    // The same channel under four spellings, the good line last.
    list = writeFile(dir, "list.txt",
                     QStringLiteral("央视,#genre#\n"
                                    "CCTV-1 综合,http://127.0.0.1:%1/dead.mp3\n"
                                    "CCTV1,%2\n"
                                    "cctv-1高清,%3\n"
                                    "CCTV 1 HD,%4\n"
                                    "中央一台,%5\n")
                         .arg(LocalHttpServer::refusedPort())
                         .arg(server.url("/forbidden.mp3"), server.url("/black.ts"),
                              server.url("/throttled.mp3"), server.url("/good.mp3"))
                         .toUtf8());
  }

  int run(const CommandLine& c, ConsoleCapture& out) {
    return c.command == Command::Check ? runCheck(c, dir.path(), out.console)
                                       : runChannels(c, dir.path(), out.console);
  }

  CommandLine command(Command which) const {
    CommandLine c;
    c.command = which;
    c.files = {list};
    c.jobs = 5;
    c.timeoutSeconds = 6;
    c.out = dir.filePath(which == Command::Check ? "passed.txt" : "channels.txt");
    return c;
  }

  LocalHttpServer server;
  QTemporaryDir dir;
  QString list;
};

}  // namespace

TEST_F(ChannelsCommand, CheckedLinesComeOutBestFirstAndDeadOnesRest) {
  ConsoleCapture checked;
  EXPECT_EQ(run(command(Command::Check), checked), kExitSomeFailed) << checked.errText().toStdString();
  ConsoleCapture written;
  ASSERT_EQ(run(command(Command::Channels), written), kExitDone) << written.errText().toStdString();
  EXPECT_EQ(textfile::readLines(dir.filePath("channels.txt")).value_or(QStringList()),
            (QStringList{"央视,#genre#", "CCTV-1," + server.url("/good.mp3"),
                         "CCTV-1," + server.url("/throttled.mp3"),
                         "CCTV-1," + server.url("/black.ts")}));

  // The dead lines rest: a second check right after asks only the others.
  const int before = server.requests().count(QStringLiteral("/forbidden.mp3"));
  ConsoleCapture again;
  run(command(Command::Check), again);
  EXPECT_EQ(server.requests().count(QStringLiteral("/forbidden.mp3")), before);
  EXPECT_TRUE(again.errText().contains(QStringLiteral("2 lines failed lately")))
      << again.errText().toStdString();
}

TEST_F(ChannelsCommand, ADamagedHistoryIsSetAsideAndTheCheckGoesOn) {
  ConsoleCapture first;
  run(command(Command::Check), first);
  QFile db(dir.filePath("health.db"));
  ASSERT_TRUE(db.open(QIODevice::ReadWrite));
  ASSERT_TRUE(db.resize(100));
  db.close();
  QFile::remove(dir.filePath("health.db-wal"));
  ConsoleCapture second;
  CommandLine c = command(Command::Check);
  c.fresh = true;
  EXPECT_EQ(run(c, second), kExitSomeFailed);
  EXPECT_TRUE(second.errText().contains(QStringLiteral("health.db"))) << second.errText().toStdString();
  history::HealthDb reopened;
  ASSERT_TRUE(reopened.open(dir.path()).ok);
  EXPECT_TRUE(reopened.summary(history::lineKey(server.url("/good.mp3"))).has_value());
}
