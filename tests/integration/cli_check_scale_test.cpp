// nettv check across runs: a run killed midway and resumed judges every
// station once, and two shards merged equal one whole run.
#include <gtest/gtest.h>

#include <QFile>
#include <QJsonDocument>
#include <QJsonObject>
#include <QProcess>
#include <QTemporaryDir>

#include "temp_files.h"
#include "base/text_file.h"
#include "cli/commands.h"
#include "cli_capture.h"
#include "fresh_check.h"
#include "event_loop_wait.h"
#include "local_http_server.h"
#include "media_fixtures.h"

using namespace cli;

namespace {

// index -> "verdict reason" of a JSON-lines file.
QMap<int, QString> verdicts(const QString& path) {
  QMap<int, QString> out;
  QFile f(path);
  f.open(QIODevice::ReadOnly);
  for (const QByteArray& line : f.readAll().split('\n')) {
    const QJsonObject o = QJsonDocument::fromJson(line).object();
    if (o.isEmpty()) continue;
    out.insert(o.value("index").toInt(),
               o.value("verdict").toString() + u' ' + o.value("reason").toString());
  }
  return out;
}

QStringList sortedLines(const QString& path) {
  QStringList lines = textfile::readLines(path).value_or(QStringList());
  lines.sort();
  return lines;
}

class CheckRuns : public MediaServerTest {
 protected:
  void SetUp() override {
    MediaServerTest::SetUp();
    server.addStatus("/gone.mp3", 404);
    // Each live station takes its time, so a kill finds the run midway.
    server.addLive("/live.mp3", MediaFixtures::instance().bytes("live.mp3"), "audio/mpeg", 8000);
    QString text = QStringLiteral("#EXTM3U\n");
    for (int i = 0; i < kStations; ++i) {
      const QString path = i % 4 == 3 ? QStringLiteral("/gone.mp3") : QStringLiteral("/live.mp3");
      text += QStringLiteral("#EXTINF:-1,s%1\n%2?n=%1\n").arg(i).arg(server.url(path));
    }
    list = writeFile(dir, "list.m3u", text.toUtf8());
  }

  CommandLine check() const {
    return freshCheck({list}, 4, 5);
  }

  static constexpr int kStations = 24;
  QTemporaryDir dir;
  QString list;
};

}  // namespace

TEST_F(CheckRuns, TwoShardsMergedEqualOneRun) {
  CommandLine whole = check();
  whole.jsonOut = dir.filePath("whole.jsonl");
  whole.out = dir.filePath("whole.txt");
  ConsoleCapture capture;
  runCheck(whole, dir.path(), capture.console);
  QStringList shards;
  for (int k = 0; k < 2; ++k) {
    CommandLine c = check();
    c.shard = k;
    c.shards = 2;
    c.jsonOut = dir.filePath(QStringLiteral("shard%1.jsonl").arg(k));
    c.out = dir.filePath(QStringLiteral("shard%1.txt").arg(k));
    runCheck(c, dir.path(), capture.console);
    EXPECT_EQ(verdicts(c.jsonOut).size(), kStations / 2);
    shards << c.jsonOut;
  }
  CommandLine merge;
  merge.command = Command::Merge;
  merge.files = shards;
  merge.jsonOut = dir.filePath("merged.jsonl");
  merge.out = dir.filePath("merged.txt");
  EXPECT_EQ(runMerge(merge, dir.path(), capture.console), kExitSomeFailed);
  EXPECT_EQ(verdicts(merge.jsonOut).size(), kStations);
  EXPECT_EQ(verdicts(merge.jsonOut), verdicts(whole.jsonOut));
  EXPECT_EQ(sortedLines(merge.out), sortedLines(whole.out));
  EXPECT_EQ(sortedLines(whole.out).size(), kStations * 3 / 4);
}

TEST_F(CheckRuns, AResumedRunJudgesWhatTheKilledRunLeft) {
  const QString results = dir.filePath("results.jsonl");
  const QString passing = dir.filePath("passing.txt");
  QProcess nettv;
  nettv.start(NETTV_BINARY, {"check", list, "--jobs", "2", "--timeout", "5", "--json-out", results,
                             "--out", passing, "--dir", dir.path()});
  ASSERT_TRUE(nettv.waitForStarted());
  ASSERT_TRUE(waitUntil([&] { return verdicts(results).size() >= 5; }, 60000));
  nettv.kill();
  nettv.waitForFinished();
  const QMap<int, QString> before = verdicts(results);
  ASSERT_LT(before.size(), kStations);
  // Every station that passed before the kill is in the passing list.
  EXPECT_EQ(sortedLines(passing).size(), before.values().count("playing "));

  CommandLine c = check();
  c.jsonOut = results;
  c.out = passing;
  c.resume = true;
  ConsoleCapture capture;
  runCheck(c, dir.path(), capture.console);
  const QMap<int, QString> after = verdicts(results);
  EXPECT_EQ(after.size(), kStations);
  // Every line of the file is whole and no station is in it twice.
  QFile f(results);
  f.open(QIODevice::ReadOnly);
  EXPECT_EQ(f.readAll().count('\n'), kStations);
  for (auto it = before.begin(); it != before.end(); ++it) EXPECT_EQ(after.value(it.key()), *it);
  // Only the stations the killed run had not judged were checked.
  EXPECT_EQ(capture.outLines().size(), kStations - before.size());
  EXPECT_EQ(sortedLines(passing).size(), kStations * 3 / 4);
}
