// Several nettv processes on one program folder at once: checks appending
// their passes, imports rewriting the found file. Whatever order their
// writes come in, every station one of them stored or reported as passing
// is in the file afterwards, once.
#include <gtest/gtest.h>

#include <QDir>
#include <QProcess>
#include <QSet>
#include <QTemporaryDir>
#include <memory>

#include "event_loop_wait.h"
#include "media_fixtures.h"
#include "results_file.h"
#include "playlists/station_address.h"
#include "playlists/station_file.h"
#include "playlists/station_files.h"
#include "temp_files.h"

namespace {

// Runs nettv with each of its argument lists in turn.
class Runs {
 public:
  explicit Runs(QList<QStringList> runs) : m_runs(std::move(runs)) {}

  // Starts the next run once the last has ended; false when all have.
  bool step() {
    if (running()) return true;
    if (m_process) {
      EXPECT_EQ(m_process->exitStatus(), QProcess::NormalExit);
      EXPECT_NE(m_process->exitCode(), 2) << m_process->readAllStandardError().toStdString();
      m_process.reset();
      ++m_ended;
    }
    if (m_ended == m_runs.size()) return false;
    m_process = std::make_unique<QProcess>();
    m_process->start(NETTV_BINARY, m_runs[m_ended]);
    return true;
  }
  bool running() const { return m_process && m_process->state() != QProcess::NotRunning; }
  int ended() const { return m_ended; }

 private:
  QList<QStringList> m_runs;
  std::unique_ptr<QProcess> m_process;
  int m_ended = 0;
};

class SharedFolder : public MediaServerTest {
 protected:
  // A list of stations that each answer after a while, so a check runs long
  // enough for other processes to write meanwhile.
  QString checkList(int k) {
    QString text = QStringLiteral("#EXTM3U\n");
    for (int i = 0; i < kStationsPerCheck; ++i) {
      const QString path = QStringLiteral("/c%1/%2.mp3").arg(k).arg(i);
      server.addFile(path, MediaFixtures::instance().bytes("tone.mp3"), "audio/mpeg", 300);
      text += QStringLiteral("#EXTINF:-1,检测%1-%2\n%3\n").arg(k).arg(i).arg(server.url(path));
    }
    return writeFile(lists, QStringLiteral("check%1.m3u").arg(k), text.toUtf8());
  }

  // Lists to import one after another; their addresses join `imported`.
  QList<QStringList> importRuns(int k) {
    QList<QStringList> runs;
    for (int f = 0; f < kImports; ++f) {
      QString text;
      for (int i = 0; i < kStationsPerImport; ++i) {
        const QString address = QStringLiteral("http://127.0.0.1:9/i%1/%2-%3.mp3").arg(k).arg(f).arg(i);
        text += QStringLiteral("导入%1-%2-%3,%4\n").arg(k).arg(f).arg(i).arg(address);
        imported << address;
      }
      const QString file =
          writeFile(lists, QStringLiteral("import%1-%2.txt").arg(k).arg(f), text.toUtf8());
      runs.append({"import", file, "--dir", folder.path()});
    }
    return runs;
  }

  // The addresses a check's results file reports as passing.
  static QStringList passedIn(const QString& results) {
    QStringList passed;
    for (const QJsonObject& o : resultObjects(results))
      if (o.value("verdict") == "playing") passed << o.value("address").toString();
    return passed;
  }

  static constexpr int kStationsPerCheck = 24;
  static constexpr int kImports = 10;
  static constexpr int kStationsPerImport = 5;
  QTemporaryDir folder;
  QTemporaryDir lists;
  QStringList imported;
};

}  // namespace

TEST_F(SharedFolder, NoProcessLosesAnotherProcesssStations) {
  const struct {
    const char* what;
    int checks;
    int importers;
  } cases[] = {
      {"a check while lists are imported", 1, 1},
      {"two checks while lists are imported", 2, 1},
      {"two imports at once", 0, 2},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.what);
    QFile::remove(QDir(folder.path()).filePath(library::kFoundFile));
    imported.clear();
    std::vector<std::unique_ptr<Runs>> checks, importers;
    QStringList results;
    for (int k = 0; k < c.checks; ++k) {
      results << lists.filePath(QStringLiteral("results%1.jsonl").arg(k));
      QFile::remove(results.last());
      checks.push_back(std::make_unique<Runs>(QList<QStringList>{
          {"check", checkList(k), "--jobs", "2", "--timeout", "5", "--json-out", results.last(),
           "--dir", folder.path()}}));
    }
    for (int k = 0; k < c.importers; ++k)
      importers.push_back(std::make_unique<Runs>(importRuns(k)));
    int importsWhileChecking = 0;
    const bool ended = waitUntil(
        [&] {
          bool any = false;
          for (auto& runs : checks) any |= runs->step();
          const bool checking = std::any_of(checks.begin(), checks.end(),
                                            [](const auto& r) { return r->running(); });
          for (auto& runs : importers) {
            const int before = runs->ended();
            any |= runs->step();
            if (checking) importsWhileChecking += runs->ended() - before;
          }
          return !any;
        },
        120000);
    ASSERT_TRUE(ended);
    EXPECT_TRUE(c.checks == 0 || importsWhileChecking > 0);

    QStringList expected = imported;
    for (const QString& r : results) expected << passedIn(r);
    EXPECT_TRUE(c.checks == 0 || expected.size() > imported.size());
    const auto found = playlists::readStationFile(QDir(folder.path()).filePath(library::kFoundFile));
    ASSERT_TRUE(found);
    QStringList stored;
    for (const playlists::Station& s : found->stations) stored << playlists::requestKey(s.address);
    for (const QString& address : expected)
      EXPECT_EQ(stored.count(playlists::requestKey(address)), 1) << address.toStdString();
    EXPECT_EQ(stored.size(), expected.size());
  }
}
