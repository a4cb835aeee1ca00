// nettv scan: the window's station test on the real players, headless,
// over the page-scan finds of a program folder.
#include <gtest/gtest.h>

#include <QFile>
#include <QStringEncoder>
#include <QTemporaryDir>

#include "base/text_file.h"
#include "cli/commands.h"
#include "cli_capture.h"
#include "playlists/station_files.h"
#include "local_http_server.h"
#include "media_fixtures.h"

using namespace cli;

TEST(ScanCommand, TestsEveryCandidateAndStoresThoseThatPlay) {
  ASSERT_TRUE(MediaFixtures::instance().ok());
  LocalHttpServer server;
  MediaFixtures::instance().serve(server);
  ASSERT_TRUE(server.start());
  QTemporaryDir dir;
  const QString refused =
      QStringLiteral("http://127.0.0.1:%1/gone.mp3").arg(LocalHttpServer::refusedPort());
  const QStringList candidates = {
      library::stationLine(QStringLiteral("音乐台"), server.url("/media/tone.mp3")),
      library::stationLine(QStringLiteral("拒绝台"), refused),
      library::stationLine(QStringLiteral("缺失台"), server.url("/media/missing.mp3")),
      library::stationLine(QStringLiteral("Ogg"), server.url("/media/tone.ogg")),
  };
  ASSERT_TRUE(textfile::writeLines(dir.filePath(library::kScannedFile), candidates));

  MpvOptions players;
  players.startTimeoutMs = 5000;
  players.networkTimeoutMs = 3000;
  ConsoleCapture capture;
  EXPECT_EQ(runScan(CommandLine{}, dir.path(), capture.console, players), kExitDone);

  const QStringList lines = capture.outLines();
  ASSERT_GE(lines.size(), 5) << capture.out.data().toStdString();
  EXPECT_TRUE(lines[0].contains("playing") && lines[0].contains(server.url("/media/tone.mp3")));
  EXPECT_TRUE(lines[1].contains("refused") && lines[1].contains(QStringLiteral("拒绝台")));
  EXPECT_TRUE(lines[2].contains("not found"));
  EXPECT_TRUE(lines[3].contains("playing") && lines[3].contains("Ogg"));
  EXPECT_EQ(lines.size(), 5);
  EXPECT_TRUE(lines.last().contains("tested 4, 2 playing")) << lines.last().toStdString();
  EXPECT_EQ(textfile::readLines(dir.filePath(library::kFoundFile)).value_or(QStringList()),
            (QStringList{candidates[0], candidates[3]}));
}

TEST(ScanCommand, NothingToTestEndsAtOnce) {
  QTemporaryDir dir;
  ConsoleCapture capture;
  EXPECT_EQ(runScan(CommandLine{}, dir.path(), capture.console), kExitDone);
  EXPECT_TRUE(capture.outLines().last().contains("tested 0"));
  EXPECT_FALSE(QFile::exists(dir.filePath(library::kFoundFile)));
}
