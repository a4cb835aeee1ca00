// What a check leaves behind across runs: a pass's results line never
// without its station line, a resumed run's account of every station of its
// results file, and a check within a low open-file limit.
#include <gtest/gtest.h>

#include <sys/resource.h>

#include <QDir>
#include <QFile>
#include <QJsonObject>
#include <QProcess>
#include <QTemporaryDir>

#include "base/text_file.h"
#include "cli/commands.h"
#include "cli_capture.h"
#include "fresh_check.h"
#include "results_file.h"
#include "fake_check_player.h"
#include "media_fixtures.h"
#include "playlists/station_files.h"
#include "temp_files.h"

using namespace cli;

namespace {

// Stations the probe leaves to the engine (it does not knock on mms), so
// the fake engines alone judge them.
class CheckRunsOnFakes : public ::testing::Test {
 protected:
  void SetUp() override {
    QString text;
    for (int i = 0; i < kStations; ++i) {
      addresses << QStringLiteral("mms://tv%1.cn/live").arg(i);
      text += QStringLiteral("台%1,%2,\n").arg(i).arg(addresses.last());
      streams.scripts[addresses.last()] = {{FakeStream::Act::Play, 10, {}, 2000, 0, audioFacts()}};
    }
    list = writeFile(dir, "list.txt", text.toUtf8());
    // The last station never plays.
    streams.scripts[addresses.last()] = {{FakeStream::Act::Fail, 10, LoadFailure::Unreachable, 0, 0, {}}};
  }

  CommandLine check() const {
    CommandLine c = freshCheck({list}, 2, 4);
    c.out = dir.filePath("passing.txt");
    c.jsonOut = dir.filePath("results.jsonl");
    return c;
  }

  QString resultLine(int i, bool playing) const {
    return QStringLiteral(R"({"index":%1,"name":"台%2","address":"%3","verdict":"%4","reason":%5})")
        .arg(i + 1)
        .arg(i)
        .arg(addresses[i], playing ? "playing" : "failed", playing ? "null" : "\"refused\"");
  }

  static constexpr int kStations = 4;
  QTemporaryDir dir;
  QString list;
  QStringList addresses;
  FakeStreams streams;
};

}  // namespace

// A pass whose station line could not be stored gets no results line, so a
// resumed run checks it again and stores it.
TEST_F(CheckRunsOnFakes, APassIsOnlyReportedDoneOnceItsStationLineIsStored) {
  CommandLine c = check();
  bool replaced = false;
  const CheckPlayerFactory players = fakeCheckPlayers(streams);
  ConsoleCapture first;
  // Once the check runs, its passing list becomes a folder: no line fits in.
  EXPECT_EQ(runCheck(c, dir.path(), first.console,
                     [&] {
                       if (!replaced) {
                         replaced = QFile::remove(c.out) && QDir(dir.path()).mkdir("passing.txt");
                       }
                       return players();
                     }),
            kExitBadInput);
  ASSERT_TRUE(replaced);
  EXPECT_FALSE(textfile::read(c.jsonOut).value_or("").contains("playing"));

  ASSERT_TRUE(QDir(c.out).removeRecursively());
  c.resume = true;
  ConsoleCapture resumed;
  EXPECT_EQ(runCheck(c, dir.path(), resumed.console, players), kExitSomeFailed);
  EXPECT_EQ(textfile::readLines(c.out).value_or(QStringList()).size(), kStations - 1);
}

// A resumed run says how every station of the results file came out, those
// of earlier runs too, and a pass the passing list lacks is checked again.
TEST_F(CheckRunsOnFakes, AResumedRunAccountsForEveryStationOfItsResults) {
  const struct {
    const char* what;
    QStringList resultsBefore;
    QStringList passingBefore;
    int checked;
    int exitCode;
    QString summary;
  } cases[] = {
      {"nothing left to check",
       {resultLine(0, true), resultLine(1, true), resultLine(2, true), resultLine(3, false)},
       {"台0,mms://tv0.cn/live,", "台1,mms://tv1.cn/live,", "台2,mms://tv2.cn/live,"},
       0, kExitSomeFailed, "4 stations: 3 playing, 1 failed"},
      {"half done", {resultLine(0, true), resultLine(3, false)}, {"台0,mms://tv0.cn/live,"},
       2, kExitSomeFailed, "4 stations: 3 playing, 1 failed"},
      {"a pass missing from the passing list", {resultLine(0, true), resultLine(3, false)}, {},
       3, kExitSomeFailed, "4 stations: 3 playing, 1 failed"},
      {"all passed before", {resultLine(0, true), resultLine(3, true)},
       {"台0,mms://tv0.cn/live,", "台3,mms://tv3.cn/live,"}, 2, kExitDone,
       "4 stations: 4 playing, 0 failed"},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.what);
    CommandLine resume = check();
    resume.resume = true;
    writeFile(dir, "results.jsonl", c.resultsBefore.join('\n').toUtf8() + '\n');
    ASSERT_TRUE(textfile::writeLines(resume.out, c.passingBefore));
    ConsoleCapture capture;
    EXPECT_EQ(runCheck(resume, dir.path(), capture.console, fakeCheckPlayers(streams)),
              c.exitCode);
    EXPECT_EQ(capture.outLines().size(), c.checked);
    EXPECT_TRUE(capture.errText().contains(c.summary)) << capture.errText().toStdString();
  }
}

// Within an open-file limit too low for the probes asked for, the check
// runs fewer and says so once; no station fails for a socket it could not
// open.
TEST(CheckWithinLimits, ALowOpenFileLimitCostsNoStation) {
  ASSERT_TRUE(MediaFixtures::instance().ok());
  LocalHttpServer server;
  ASSERT_TRUE(server.start());
  QTemporaryDir dir;
  QString text = QStringLiteral("#EXTM3U\n");
  constexpr int kStations = 160;
  for (int i = 0; i < kStations; ++i) {
    const QString path = QStringLiteral("/s%1.mp3").arg(i);
    // Slow to answer, so unlimited probes would hold hundreds of sockets.
    server.addFile(path, MediaFixtures::instance().bytes("tone.mp3"), "audio/mpeg", 300);
    text += QStringLiteral("#EXTINF:-1,s%1\n%2\n").arg(i).arg(server.url(path));
  }
  const QString list = writeFile(dir, "list.m3u", text.toUtf8());
  const QString results = dir.filePath("results.jsonl");
  QProcess nettv;
  nettv.setChildProcessModifier([] {
    const rlimit low{160, 160};
    setrlimit(RLIMIT_NOFILE, &low);
  });
  nettv.start(NETTV_BINARY, {"check", list, "--jobs", "6", "--probes", "500", "--timeout", "10",
                             "--json-out", results, "--dir", dir.path()});
  ASSERT_TRUE(nettv.waitForStarted());
  ASSERT_TRUE(nettv.waitForFinished(240000));
  const QString err = QString::fromUtf8(nettv.readAllStandardError());
  EXPECT_EQ(nettv.exitCode(), kExitDone) << err.toStdString();
  EXPECT_EQ(err.count("open-file limit"), 1) << err.toStdString();
  QMap<QString, int> verdicts;
  for (const QJsonObject& o : resultObjects(results))
    ++verdicts[o.value("verdict").toString() + u' ' + o.value("reason").toString()];
  EXPECT_EQ(verdicts, (QMap<QString, int>{{"playing ", kStations}}));
}
