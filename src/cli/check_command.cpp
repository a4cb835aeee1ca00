#include <QDir>
#include <QElapsedTimer>
#include <QEventLoop>
#include <QFileInfo>
#include <QSet>

#include "base/user_agent.h"
#include "cli/check_report.h"
#include "cli/commands.h"
#include "cli/console.h"
#include "cli/skipped_report.h"
#include "playlists/station_file.h"
#include "check/station_checker.h"
#include "library/station_files.h"
#include "library/unique_line_file.h"

namespace cli {

namespace {

// The stations of all files, each bare address once (by its duplicate key);
// nothing when a file cannot be read.
std::optional<playlists::StationList> readStations(const QStringList& files, Console& console,
                                        int* duplicates) {
  playlists::StationList unique;
  QSet<QString> keys;
  for (const QString& file : files) {
    const auto playlist = playlists::readPlaylist(file);
    if (!playlist) {
      console.error(QStringLiteral("无法读取 %1 / cannot read %1").arg(file));
      return std::nullopt;
    }
    reportSkipped(console, file, playlist->skipped);
    for (const playlists::Station& s : playlist->stations) {
      const QString key = playlists::knownAddressKey(s.address);
      if (keys.contains(key)) {
        ++*duplicates;
        continue;
      }
      keys.insert(key);
      unique << s;
    }
  }
  return unique;
}

struct Tally {
  int playing = 0;
  QString storeError;
};

}  // namespace

int runCheck(const CommandLine& c, const QString& dir, Console& console) {
  int duplicates = 0;
  const auto stations = readStations(c.files, console, &duplicates);
  if (!stations) return kExitBadInput;
  const QString store = c.out.isEmpty() ? QDir(dir).filePath(library::kFoundFile)
                                        : QFileInfo(c.out).absoluteFilePath();
  QElapsedTimer clock;
  clock.start();
  CheckProgress progress(console, static_cast<int>(stations->size()));
  Tally tally;
  check::StationChecker checker(
      *stations, {c.jobs, qRound(c.timeoutSeconds * 1000), 256, useragent::forCommand(c.userAgent, dir)});
  QObject::connect(&checker, &check::StationChecker::stationChecked, &checker, [&](int index) {
    if (checker.result(index)->verdict == check::Verdict::Playing) {
      ++tally.playing;
      // Stored at once, as a scan stores a hit, so an interrupted check
      // keeps what it found.
      const playlists::Station& s = stations->at(index);
      const auto written = library::AppendUniqueLine(store, library::stationLine(s.name, s.address));
      if (!written) tally.storeError = written.error;
    }
    progress.update(checker.doneCount(), tally.playing);
  });
  QEventLoop loop;
  QObject::connect(&checker, &check::StationChecker::finished, &loop, &QEventLoop::quit,
                   Qt::QueuedConnection);
  checker.start();
  loop.exec();
  progress.end();

  for (int i = 0; i < stations->size(); ++i) {
    const check::CheckResult& r = *checker.result(i);
    console.print(c.json ? resultJson(i + 1, stations->at(i), r)
                         : resultLine(i + 1, stations->at(i), r));
  }
  const int failed = static_cast<int>(stations->size()) - tally.playing;
  const QString summary =
      QStringLiteral(
          "共 %1 个电台：可播放 %2，失败 %3，重复 %4；用时 %5 秒 / %1 stations: "
          "%2 playing, %3 failed, %4 duplicates; %5 s")
          .arg(stations->size())
          .arg(tally.playing)
          .arg(failed)
          .arg(duplicates)
          .arg(QString::number(clock.elapsed() / 1000.0, 'f', 1));
  c.json ? console.message(summary) : console.print(summary);
  if (!tally.storeError.isEmpty()) {
    console.error(cannotWrite(store, tally.storeError));
    return kExitBadInput;
  }
  return failed > 0 ? kExitSomeFailed : kExitDone;
}

}  // namespace cli
