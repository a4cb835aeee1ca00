// The health history on real files: backoff, pruning, bulk summaries,
// damaged files set aside, two processes writing at once, and its speed.
#include <QCoreApplication>
#include <QDir>
#include <QFile>
#include <QProcess>
#include <QRandomGenerator>
#include <QTemporaryDir>
#include <QThread>

#include "form_fixture.h"
#include "history/health_db.h"
#include "history/line_key.h"
#include "plain_build.h"
#include "playlists/station_files.h"
#include "line_verdicts.h"
#include "temp_files.h"
#include "thread_cpu_time.h"

namespace {

using namespace history;
using namespace std::chrono_literals;

const QDateTime kStart = QDateTime(QDate(2024, 3, 1), QTime(12, 0), Qt::UTC);

QStringList keysOf(const QList<LineVerdict>& verdicts) {
  QStringList keys;
  for (const LineVerdict& v : verdicts) keys << v.line;
  return keys;
}

QByteArray readFile(const QString& path) {
  QFile file(path);
  return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
}

class HealthDbTest : public ::testing::Test {
 protected:
  void SetUp() override { ASSERT_TRUE(db.open(dir.path()).ok); }

  QString path(const QString& name = library::kHealthFile) const {
    return dir.filePath(name);
  }
  QStringList setAside() const {
    return QDir(dir.path()).entryList({QStringLiteral("health.db.damaged-*")}, QDir::Files);
  }
  void reopen() {
    db.close();
    ASSERT_TRUE(db.open(dir.path()).ok);
  }
  // A new history works: it keeps what it is given.
  void expectWorks() {
    const QString line = QStringLiteral("http://works/");
    ASSERT_TRUE(db.record(verdictOf(line, outcome::kPlaying, now)).ok);
    ASSERT_TRUE(db.summary(line));
    EXPECT_EQ(db.summary(line)->successes, 1);
  }

  QTemporaryDir dir;
  QDateTime now = kStart;
  HealthDb db{[this] { return now; }};
};

TEST(LineKeyTest, SameRequestSameKey) {
  const struct {
    QString a, b;
    bool same;
  } cases[] = {
      {"http://a/x", "http://a/x", true},
      {"http://a/x|Referer=http://r/&User-Agent=UA", "http://a/x|user-agent=UA&REFERER=http://r/",
       true},
      {"http://a/x|Referer=http%3A%2F%2Fr%2F", "http://a/x|referer=http://r/", true},
      {"http://a/x|Referer=http://r/", "http://a/x|Referer=http://s/", false},
      {"http://a/x|Referer=http://r/", "http://a/x", false},
      {"http://a/x|broken", "http://a/x", true},
      {"http://a/x", "http://a/y", false},
  };
  for (const auto& c : cases)
    EXPECT_EQ(lineKey(c.a) == lineKey(c.b), c.same) << c.a.toStdString() << " / " << c.b.toStdString();
  EXPECT_EQ(lineKey(QStringLiteral("http://a/x")), "http://a/x");
  EXPECT_EQ(lineKey(QStringLiteral("http://a/x|User-Agent=U&Referer=R")),
            "http://a/x|referer=R&user-agent=U");
}

TEST(RetryDelayTest, DoublesFromAMinuteToADay) {
  const struct {
    int failures;
    std::chrono::milliseconds delay;
  } cases[] = {{0, 0ms},       {1, 1min},     {2, 2min},     {3, 4min},    {4, 8min},
               {8, 128min},    {11, 1024min}, {12, 24h},     {13, 24h},    {40, 24h},
               {1000000, 24h}};
  for (const auto& c : cases) EXPECT_EQ(retryDelay(c.failures), c.delay) << c.failures;
}

TEST_F(HealthDbTest, RetryAfterBacksOffAndSuccessClearsIt) {
  const QString line = QStringLiteral("http://a/live");
  EXPECT_TRUE(db.isDue(line, now));
  const struct {
    QLatin1StringView outcome;
    int inRow;
    std::chrono::milliseconds rest;  // 0: due at once
  } steps[] = {
      {outcome::kFailed, 1, 1min},   {outcome::kFailed, 2, 2min},  {outcome::kRefresh, 2, 2min},
      {outcome::kFailed, 3, 4min},   {outcome::kPlaying, 0, 0ms},  {outcome::kFailed, 1, 1min},
  };
  for (const auto& s : steps) {
    now = now.addSecs(3600);
    ASSERT_TRUE(db.record(verdictOf(line, s.outcome, now)).ok);
    const LineSummary summary = *db.summary(line);
    EXPECT_EQ(summary.failuresInRow, s.inRow) << s.outcome.data();
    if (s.outcome == outcome::kRefresh) continue;  // the rest runs from the failure before
    EXPECT_EQ(summary.retryAfter.isValid(), s.rest > 0ms);
    EXPECT_EQ(db.isDue(line, now.addMSecs(s.rest.count() - 1)), s.rest == 0ms);
    EXPECT_TRUE(db.isDue(line, now.addMSecs(s.rest.count())));
  }
  for (int i = 0; i < 20; ++i)
    ASSERT_TRUE(db.record(verdictOf(line, outcome::kFailed, now.addSecs(i))).ok);
  EXPECT_EQ(db.summary(line)->retryAfter, now.addSecs(19).addDays(1));
}

TEST_F(HealthDbTest, SummaryCountsAndKeepsTheNewestVerdict) {
  const QString line = QStringLiteral("http://a/live");
  LineVerdict full = verdictOf(line, outcome::kPlaying, now.addSecs(10));
  full.httpStatus = 200;
  full.firstFrameMs = 850;
  full.container = QStringLiteral("mpegts");
  full.videoCodec = QStringLiteral("hevc");
  full.audioCodec = QStringLiteral("aac");
  full.width = 1920;
  full.height = 1080;
  full.bitrate = 4'500'000;
  full.downloadSpeed = 30'000'000'000;
  full.black = true;
  full.frozen = true;
  full.source = source::kQuickTest;
  const LineVerdict failed = verdictOf(line, outcome::kFailed, now.addSecs(20));
  // Merged from elsewhere: older than the newest, so it only counts.
  const LineVerdict merged = verdictOf(line, outcome::kPlaying, now.addSecs(15));
  ASSERT_TRUE(db.recordMany({full, failed, merged}).ok);

  const LineSummary s = *db.summary(line);
  EXPECT_EQ(s.successes, 2);
  EXPECT_EQ(s.failures, 1);
  EXPECT_DOUBLE_EQ(s.successRatio(), 2.0 / 3);
  EXPECT_EQ(s.failuresInRow, 1);
  EXPECT_EQ(s.lastSuccess, merged.time);
  EXPECT_EQ(s.lastFailure, failed.time);
  EXPECT_EQ(s.retryAfter, failed.time.addSecs(60));
  EXPECT_EQ(s.last, failed);
  EXPECT_EQ(db.verdicts(line), (QList<LineVerdict>{full, merged, failed}));
  EXPECT_FALSE(db.summary(QStringLiteral("http://unknown/")));
  EXPECT_TRUE(db.verdicts(QStringLiteral("http://unknown/")).isEmpty());
}

TEST_F(HealthDbTest, KeepsThirtyDays) {
  const QString old = QStringLiteral("http://old/"), mixed = QStringLiteral("http://mixed/");
  ASSERT_TRUE(db.recordMany({verdictOf(old, outcome::kFailed, now),
                             verdictOf(mixed, outcome::kFailed, now),
                             verdictOf(mixed, outcome::kPlaying, now.addDays(20))})
                  .ok);
  const struct {
    qint64 days;
    bool oldKept;
  } cases[] = {{29, true}, {30, true}, {31, false}};
  for (const auto& c : cases) {
    now = kStart.addDays(c.days);
    reopen();
    EXPECT_EQ(bool(db.summary(old)), c.oldKept) << c.days;
    EXPECT_EQ(db.verdicts(mixed).size(), c.oldKept ? 2 : 1) << c.days;
  }
  EXPECT_EQ(db.summary(mixed)->last.time, kStart.addDays(20));

  // A history left open prunes as it writes.
  now = kStart.addDays(51);
  const QString fresh = QStringLiteral("http://fresh/");
  ASSERT_TRUE(db.record(verdictOf(fresh, outcome::kPlaying, now)).ok);
  EXPECT_FALSE(db.summary(mixed));
  EXPECT_TRUE(db.summary(fresh));
}

TEST_F(HealthDbTest, SummariesInBulk) {
  QList<LineVerdict> verdicts = manyVerdicts(2000, now);
  // Keys that need escaping on their way into the query.
  for (const QString odd : {"http://a/\"quoted\"", "http://a/back\\slash|referer=x", "http://电视/台"})
    verdicts.append(verdictOf(odd, outcome::kPlaying, now));
  ASSERT_TRUE(db.recordMany(verdicts).ok);

  QStringList wanted = keysOf(verdicts).mid(1000);
  wanted << QStringLiteral("http://never/") << wanted.first();
  const QHash<QString, LineSummary> found = db.summaries(wanted);
  EXPECT_EQ(found.size(), 1003);
  for (const LineVerdict& v : verdicts.mid(1000)) {
    ASSERT_TRUE(found.contains(v.line)) << v.line.toStdString();
    EXPECT_EQ(found[v.line].last, v);
    EXPECT_EQ(found[v.line], *db.summary(v.line));
  }
  EXPECT_TRUE(db.summaries({}).isEmpty());
}

TEST_F(HealthDbTest, SourcesAreRemembered) {
  SourceState s{QStringLiteral("http://lists/tv.m3u"), QStringLiteral("\"abc\""),
                QStringLiteral("Wed, 21 Oct 2015 07:28:00 GMT"), now, QStringLiteral("ok"), {}, 812};
  EXPECT_FALSE(db.source(s.address));
  ASSERT_TRUE(db.putSource(s).ok);
  EXPECT_EQ(db.source(s.address), s);
  s.result = QStringLiteral("failed");
  s.reason = QStringLiteral("not_found");
  s.fetched = {};
  ASSERT_TRUE(db.putSource(s).ok);
  reopen();
  EXPECT_EQ(db.source(s.address), s);
}

// Each kind of file that cannot be used is moved aside whole, and a new
// history starts in its place.
TEST_F(HealthDbTest, UnusableFilesAreSetAside) {
  ASSERT_TRUE(db.recordMany(manyVerdicts(3000, now)).ok);
  db.close();
  const QByteArray healthy = readFile(path());
  ASSERT_GT(healthy.size(), 100'000);

  QByteArray noise(20000, '\0');
  for (char& c : noise) c = char(QRandomGenerator::global()->bounded(256));
  const auto foreign = [](const char* sql) {
    return [sql](const QString& file) {
      SqlConnection other;
      ASSERT_EQ(other.open(file, 0), 0);
      ASSERT_EQ(other.exec(sql), 0);
    };
  };
  const struct {
    const char* name;
    QByteArray bytes;
    std::function<void(const QString&)> make;  // after the bytes are written
    const char* why;
  } cases[] = {
      {"truncated", healthy.left(healthy.size() / 2), nullptr, "malformed"},
      {"cut in the header", healthy.left(60), nullptr, "malformed"},
      {"random bytes", noise, nullptr, "not a database"},
      {"another program's", {}, foreign("CREATE TABLE songs(title TEXT)"), "another program"},
      {"a newer schema", healthy, foreign("PRAGMA user_version = 99"), "newer"},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.name);
    for (const QString& name : QDir(dir.path()).entryList(QDir::Files)) QFile::remove(path(name));
    writeFile(dir, library::kHealthFile, c.bytes);
    if (c.make) c.make(path());
    writeFile(dir, QStringLiteral("health.db-wal"), "left over");

    const Result opened = db.open(dir.path());
    ASSERT_TRUE(opened.ok) << opened.message.toStdString();
    EXPECT_TRUE(opened.message.contains(QLatin1StringView(c.why))) << opened.message.toStdString();
    const QStringList aside = setAside();
    ASSERT_FALSE(aside.isEmpty());
    EXPECT_TRUE(opened.message.contains(aside[0])) << opened.message.toStdString();
    EXPECT_EQ(aside.filter(aside[0]), aside);
    EXPECT_EQ(readFile(path(aside[0] + QStringLiteral("-wal"))), "left over");
    EXPECT_FALSE(readFile(path(QStringLiteral("health.db-wal"))).contains("left over"));
    if (!c.make) {
      EXPECT_EQ(readFile(path(aside[0])), c.bytes);
    }
    expectWorks();
    db.close();
  }
}

// Damage found while writing (the file spoilt under an open history) is
// handled the same way, and the write goes into the new file.
TEST_F(HealthDbTest, DamageFoundWhileWritingStartsANewFile) {
  ASSERT_TRUE(db.recordMany(manyVerdicts(3000, now)).ok);
  reopen();
  QFile file(path());
  ASSERT_TRUE(file.open(QIODevice::ReadWrite));
  file.seek(4096);
  file.write(QByteArray(int(file.size() - 4096), '\xff'));
  file.close();

  const Result written = db.record(verdictOf(QStringLiteral("http://b/"), outcome::kFailed, now));
  ASSERT_TRUE(written.ok) << written.message.toStdString();
  EXPECT_TRUE(written.message.contains(QStringLiteral("moved aside")));
  const QStringList aside = setAside();
  ASSERT_FALSE(aside.isEmpty());
  EXPECT_EQ(aside, QStringList({aside[0], aside[0] + "-shm", aside[0] + "-wal"}));
  EXPECT_EQ(db.summary(QStringLiteral("http://b/"))->failures, 1);
}

TEST(HealthDbOpenTest, UnwritableFolderLeavesAClosedHistory) {
  QTemporaryDir dir;
  HealthDb db;
  const Result opened = db.open(writeFile(dir, QStringLiteral("folder"), "a file"));
  EXPECT_FALSE(opened.ok);
  EXPECT_FALSE(opened.message.isEmpty());
  EXPECT_FALSE(db.isOpen());
  const LineVerdict v = verdictOf(QStringLiteral("http://a/"), outcome::kFailed, kStart);
  EXPECT_FALSE(db.record(v).ok);
  SourceState source;
  source.address = QStringLiteral("http://s/");
  EXPECT_FALSE(db.putSource(source).ok);
  EXPECT_FALSE(db.summary(v.line));
  EXPECT_TRUE(db.summaries({v.line}).isEmpty());
  EXPECT_TRUE(db.isDue(v.line, kStart));
  EXPECT_FALSE(db.source(QStringLiteral("http://s/")));
}

// Two writer processes: the test binary run again on the disabled test
// below, which writes when the parent says go.
constexpr int kWrites = 1500;
constexpr int kSharedLines = 20;

TEST(HealthDbProcessesTest, TwoProcessesLoseNoRecord) {
  QTemporaryDir dir;
  QList<QProcess*> writers;
  for (const QString name : {"a", "b"}) {
    auto* writer = new QProcess;
    QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
    env.insert(QStringLiteral("HEALTH_DB_DIR"), dir.path());
    env.insert(QStringLiteral("HEALTH_DB_WRITER"), name);
    writer->setProcessEnvironment(env);
    writer->setProcessChannelMode(QProcess::MergedChannels);
    writer->start(QCoreApplication::applicationFilePath(),
                  {QStringLiteral("--gtest_filter=HealthDbWriter.DISABLED_Writes"),
                   QStringLiteral("--gtest_also_run_disabled_tests")});
    ASSERT_TRUE(writer->waitForStarted());
    writers << writer;
  }
  writeFile(dir, QStringLiteral("go"), {});
  for (QProcess* writer : writers) {
    EXPECT_TRUE(writer->waitForFinished(120000));
    EXPECT_EQ(writer->exitCode(), 0) << writer->readAll().toStdString();
    delete writer;
  }

  HealthDb db;
  ASSERT_TRUE(db.open(dir.path()).ok);
  int total = 0;
  for (int i = 0; i < kSharedLines; ++i) {
    const auto s = db.summary(QStringLiteral("http://shared/%1").arg(i));
    ASSERT_TRUE(s);
    total += s->successes + s->failures;
  }
  EXPECT_EQ(total, 2 * kWrites);
  for (const QString name : {"a", "b"})
    EXPECT_EQ(db.verdicts(QStringLiteral("http://own/") + name).size(), kWrites) << name.toStdString();
}

TEST(HealthDbWriter, DISABLED_Writes) {
  const QString dir = qEnvironmentVariable("HEALTH_DB_DIR");
  const QString name = qEnvironmentVariable("HEALTH_DB_WRITER");
  for (int wait = 0; wait < 10000 && !QFile::exists(dir + QStringLiteral("/go")); ++wait)
    QThread::msleep(1);
  HealthDb db;
  const Result opened = db.open(dir);
  ASSERT_TRUE(opened.ok) << opened.message.toStdString();
  // One at a time and in pairs, so the two writers take turns.
  for (int i = 0; i < kWrites; ++i) {
    const QDateTime time = QDateTime::currentDateTimeUtc();
    const auto outcome = i % 2 ? outcome::kPlaying : outcome::kFailed;
    const QList<LineVerdict> pair = {
        verdictOf(QStringLiteral("http://shared/%1").arg(i % kSharedLines), outcome, time),
        verdictOf(QStringLiteral("http://own/") + name, outcome, time)};
    if (i % 2) {
      const Result written = db.recordMany(pair);
      ASSERT_TRUE(written.ok) << written.message.toStdString();
    } else {
      for (const LineVerdict& v : pair) ASSERT_TRUE(db.record(v).ok);
    }
  }
}

// Recording a check's verdicts and reading the summaries to rank a large
// list take little processor time.
TEST_F(HealthDbTest, RecordsAndReadsInBulkQuickly) {
  const QList<LineVerdict> check = manyVerdicts(10'000, now);
  const qint64 recordMs = msToRun([&] { ASSERT_TRUE(db.recordMany(check).ok); });
  EXPECT_BOUND_LT(recordMs, 200) << "recording 10,000 verdicts";

  const QList<LineVerdict> all = manyVerdicts(100'000, now.addSecs(60));
  ASSERT_TRUE(db.recordMany(all).ok);
  const QStringList keys = keysOf(all);
  QHash<QString, LineSummary> found;
  const qint64 readMs = msToRun([&] { found = db.summaries(keys); });
  EXPECT_BOUND_LT(readMs, 1000) << "reading 100,000 summaries";
  EXPECT_EQ(found.size(), 100'000);
}

}  // namespace
