// nettv merge of shard results: one line per station whatever the shards
// hold, a pass from any shard, station lines that stay station lines, a
// word on every line or file it cannot read, and shards read as a stream.
#include <gtest/gtest.h>

#include <sys/resource.h>

#include <QDir>
#include <QFile>
#include <QJsonDocument>
#include <QJsonObject>
#include <QProcess>
#include <QTemporaryDir>

#include "base/text_file.h"
#include "cli/commands.h"
#include "cli_capture.h"
#include "plain_build.h"
#include "results_file.h"
#include "temp_files.h"

using namespace cli;

namespace {

QByteArray result(int index, const QString& name, const QString& address, bool playing) {
  const QJsonObject o{{"index", index},
                      {"name", name},
                      {"address", address},
                      {"verdict", playing ? "playing" : "failed"},
                      {"reason", playing ? QJsonValue() : QJsonValue("refused")}};
  return QJsonDocument(o).toJson(QJsonDocument::Compact) + '\n';
}

// The verdict of each station of a merged results file, by address.
QMap<QString, QString> verdicts(const QString& path) {
  QMap<QString, QString> out;
  for (const QJsonObject& o : resultObjects(path))
    out.insert(o.value("address").toString(), o.value("verdict").toString());
  return out;
}

// The largest memory a finished child of this process held, in KiB.
long childPeakKib() {
  rusage usage{};
  getrusage(RUSAGE_CHILDREN, &usage);
  return usage.ru_maxrss;
}

}  // namespace

TEST(MergeCommand, EveryStationOnceAsAStationLineWithAPassFromAnyShard) {
  const QByteArray a = result(1, "甲", "http://h/a", false) + result(2, "乙", "http://h/b", true);
  const QByteArray b = result(1, "甲", "http://h/a", true) + result(2, "乙", "http://h/b", false);
  const struct {
    const char* what;
    QList<QByteArray> shards;
    QStringList passing;
    QMap<QString, QString> verdicts;
    int exitCode;
    QString error;
  } cases[] = {
      {"a pass in the second shard", {a, b}, {"甲,http://h/a,", "乙,http://h/b,"},
       {{"http://h/a", "playing"}, {"http://h/b", "playing"}}, kExitDone, {}},
      {"a pass in the first shard", {b, a}, {"甲,http://h/a,", "乙,http://h/b,"},
       {{"http://h/a", "playing"}, {"http://h/b", "playing"}}, kExitDone, {}},
      {"line breaks in a name",
       {result(1, "a\r\nevil,file:///etc/passwd", "http://h/a", true)},
       {"a evil，file:///etc/passwd,http://h/a,"}, {{"http://h/a", "playing"}}, kExitDone, {}},
      {"line breaks in an address",
       {result(1, "a", "http://h/a\r\nevil,file:///etc/passwd,", true) +
        result(2, "b", "http://h/b", true)},
       {"b,http://h/b,"},
       {{"http://h/a\r\nevil,file:///etc/passwd,", "playing"}, {"http://h/b", "playing"}},
       kExitDone, "station 1 cannot be stored"},
      {"lines that are no result",
       {result(1, "a", "http://h/a", true) + "not json\n" + R"({"index":2})" + "\n" +
        result(3, "c", "http://h/c", false) + R"({"index":4,"na)"},
       {"a,http://h/a,"}, {{"http://h/a", "playing"}, {"http://h/c", "failed"}}, kExitSomeFailed,
       "lines that are no result: 2, 3, 5"},
      {"a file without results", {a, "garbage\n{}\n"}, {}, {}, kExitBadInput,
       "shard1.jsonl holds no check results"},
      {"an empty file", {a, ""}, {}, {}, kExitBadInput, "shard1.jsonl holds no check results"},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.what);
    QTemporaryDir dir;
    CommandLine merge;
    merge.command = Command::Merge;
    for (int i = 0; i < c.shards.size(); ++i)
      merge.files << writeFile(dir, QStringLiteral("shard%1.jsonl").arg(i), c.shards[i]);
    merge.jsonOut = dir.filePath("merged.jsonl");
    merge.out = dir.filePath("passing.txt");
    ConsoleCapture capture;
    EXPECT_EQ(runMerge(merge, dir.path(), capture.console), c.exitCode);
    EXPECT_EQ(textfile::readLines(merge.out).value_or(QStringList()), c.passing);
    EXPECT_EQ(verdicts(merge.jsonOut), c.verdicts);
    EXPECT_TRUE(capture.errText().contains(c.error)) << capture.errText().toStdString();
  }
}

TEST(MergeCommand, AFileThatCannotBeReadIsNamed) {
  QTemporaryDir dir;
  CommandLine merge;
  merge.command = Command::Merge;
  merge.files = {writeFile(dir, "a.jsonl", result(1, "a", "http://h/a", true)),
                 dir.filePath("missing.jsonl")};
  ConsoleCapture capture;
  EXPECT_EQ(runMerge(merge, dir.path(), capture.console), kExitBadInput);
  EXPECT_TRUE(capture.errText().contains("cannot read " + dir.filePath("missing.jsonl")));
}

// A shard is read line by line and each station costs a few numbers, so
// merging a large shard takes little more memory than merging a small one.
TEST(MergeCommand, ShardsAreReadAsAStream) {
  QTemporaryDir dir;
  const QString evidence(4000, u'x');
  QFile big(dir.filePath("big.jsonl"));
  ASSERT_TRUE(big.open(QIODevice::WriteOnly));
  constexpr int kStations = 10000;
  for (int i = 0; i < kStations; ++i)
    big.write(result(i + 1, evidence, QStringLiteral("http://h/%1").arg(i), i % 2));
  big.close();
  const QString small = writeFile(dir, "small.jsonl", result(1, "a", "http://h/a", true));
  const auto peakOf = [&](const QString& shard) {
    QProcess nettv;
    nettv.start(NETTV_BINARY, {"merge", shard, "--json-out", dir.filePath("merged.jsonl"),
                               "--out", dir.filePath("passing.txt"), "--dir", dir.path()});
    EXPECT_TRUE(nettv.waitForFinished(120000));
    EXPECT_EQ(nettv.exitCode(), shard == small ? kExitDone : kExitSomeFailed);
    return childPeakKib();
  };
  const long smallPeak = peakOf(small);
  const long bigPeak = peakOf(big.fileName());
  EXPECT_EQ(verdicts(dir.filePath("merged.jsonl")).size(), kStations);
  // The shard is 40 MB; the merge may grow by a fifth of that.
  EXPECT_BOUND_LT(bigPeak - smallPeak, big.size() / 1024 / 5);
}
