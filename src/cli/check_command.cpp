#include <QDir>
#include <QElapsedTimer>
#include <QEventLoop>
#include <QFileInfo>
#include <QSet>

#include "base/user_agent.h"
#include "check/check_history.h"
#include "check/station_checker.h"
#include "cli/check_refresh.h"
#include "cli/check_report.h"
#include "cli/commands.h"
#include "cli/console.h"
#include "cli/json_lines.h"
#include "cli/open_file_limit.h"
#include "cli/skipped_report.h"
#include "engines/mpv_check_player.h"
#include "history/health_db.h"
#include "history/line_key.h"
#include "history/verdict_batch.h"
#include "library/line_appender.h"
#include "playlists/station_files.h"
#include "playlists/playlist.h"
#include "playlists/station_address.h"
#include "playlists/station_file.h"

namespace cli {

namespace {

// A station of the run and its place in the whole list, counted from 1, so
// shards and resumed runs number stations as one full run does.
struct Numbered {
  int index;
  playlists::Station station;
};

// The stations of all files, each request (bare address and headers) once:
// a copy without the headers never stands in for the one with them.
// Nothing when a file cannot be read.
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
      const QString key = playlists::requestKey(s.address);
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

// What the results file of a resumed run says: each station's last outcome,
// by its address.
QHash<QString, check::Outcome> judgedIn(const QString& jsonOut) {
  QHash<QString, check::Outcome> judged;
  JsonLinesReader reader(jsonOut);
  if (!reader.open()) return judged;
  while (const auto line = reader.next()) {
    const auto outcome = line->object ? outcomeOfJson(*line->object) : std::nullopt;
    if (outcome) judged.insert(line->object->value(QLatin1String("address")).toString(), *outcome);
  }
  return judged;
}

// The lines whose rest after failures has not ended; none with --fresh.
QSet<QString> restingLines(const playlists::StationList& all, const CommandLine& c,
                           const history::HealthDb& db) {
  QSet<QString> resting;
  if (c.fresh || !db.isOpen()) return resting;
  QStringList keys;
  for (int i = c.shard; i < all.size(); i += c.shards) keys.append(history::lineKey(all[i].address));
  const QDateTime now = QDateTime::currentDateTimeUtc();
  const auto summaries = db.summaries(keys);
  for (auto it = summaries.cbegin(); it != summaries.cend(); ++it)
    if (!it->isDue(now)) resting.insert(it.key());
  return resting;
}

// The stations a run checks, and the outcomes a resumed run's results file
// holds of all others.
struct Selection {
  QList<Numbered> chosen;
  OutcomeTally judged;
  int judgedCount = 0;
  int resting = 0;  // lines left to rest after recent failures
};

Selection selectStations(const playlists::StationList& all, const CommandLine& c,
                         const library::LineAppender& passing, const history::HealthDb& db) {
  using Judged = QHash<QString, check::Outcome>;
  Judged judged = c.resume ? judgedIn(c.jsonOut) : Judged();
  // A pass whose station line never reached the passing list is checked again.
  judged.removeIf([&passing](Judged::iterator it) {
    return it.value() == check::Outcome::Playing &&
           !passing.holds(library::stationLine(QString(), it.key()));
  });
  const QSet<QString> rest = restingLines(all, c, db);
  Selection s;
  for (int i = c.shard; i < all.size(); i += c.shards) {
    if (judged.contains(all[i].address)) continue;
    if (rest.contains(history::lineKey(all[i].address)))
      ++s.resting;
    else
      s.chosen.append({i + 1, all[i]});
  }
  for (const check::Outcome o : std::as_const(judged)) ++s.judged[o];
  s.judgedCount = static_cast<int>(judged.size());
  return s;
}

// Connection attempts cost a socket each, and a station that never answers
// holds one for the whole time limit: a few engines still get many of them.
constexpr int kLeastProbes = 128;

check::CheckLimits limitsOf(const CommandLine& c, const QString& dir) {
  check::CheckLimits limits;
  limits.engines = c.jobs;
  limits.probes = c.probes > 0 ? c.probes : std::max(4 * c.jobs, kLeastProbes);
  limits.timeoutMs = qRound(c.timeoutSeconds * 1000);
  limits.minPlayMs = qRound(c.minPlaySeconds * 1000);
  limits.retries = c.retries;
  limits.strict = c.strict;
  limits.userAgent = useragent::forCommand(c.userAgent, dir);
  return limits;
}

// Where a check writes as stations are judged.
struct CheckOutputs {
  library::LineAppender passing;
  std::optional<JsonLinesWriter> results;
  FirstWriteFailure failure;
};

}  // namespace

int runCheck(const CommandLine& c, const QString& dir, Console& console,
             const CheckPlayerFactory& players) {
  int duplicates = 0;
  const auto all = readStations(c.files, console, &duplicates);
  if (!all) return kExitBadInput;
  history::HealthDb db;
  if (!c.noHistory) {
    if (const history::Result opened = db.open(dir); !opened.message.isEmpty())
      console.message(opened.message);
  }
  history::VerdictBatch verdicts(db.isOpen() ? &db : nullptr);
  CheckOutputs out{library::LineAppender(c.out.isEmpty() ? QDir(dir).filePath(library::kFoundFile)
                                                          : QFileInfo(c.out).absoluteFilePath()),
                   {}, {}};
  if (!c.jsonOut.isEmpty()) out.results.emplace(c.jsonOut);
  out.failure.note(out.passing.path(), out.passing.open());
  const Selection selection = selectStations(*all, c, out.passing, db);
  const QList<Numbered>& chosen = selection.chosen;
  if (out.results) out.failure.note(c.jsonOut, out.results->open(c.resume));
  if (out.failure.any()) {
    console.error(cannotWrite(out.failure.path, out.failure.error));
    return kExitBadInput;
  }

  playlists::StationList stations;
  stations.reserve(chosen.size());
  for (const Numbered& n : chosen) stations << n.station;
  check::CheckLimits limits = limitsOf(c, dir);
  fitOpenFileLimit(limits, console);
  const CheckPlayerFactory engines =
      players ? players : MpvCheckPlayer::factory(limits.minPlayMs, limits.userAgent);
  check::StationChecker checker(std::move(stations), limits, engines);
  QElapsedTimer clock;
  clock.start();
  CheckProgress progress(console, static_cast<int>(chosen.size()));
  OutcomeTally tally = selection.judged;
  QString engineFailure;
  const auto report = [&](int i, const playlists::Station& station, const check::CheckResult& r) {
    const int number = chosen.at(i).index;
    ++tally[r.outcome];
    verdicts.add(check::lineVerdictOf(station, r, QDateTime::currentDateTimeUtc(),
                                      history::source::kCheck));
    const QJsonObject json = resultJson(number, station, r);
    console.print(c.json ? compact(json) : resultLine(number, station, r));
    // A pass's results line follows its station line: a run killed between
    // the two is checked again on --resume.
    const bool stored =
        !r.playing() ||
        out.failure.note(out.passing.path(),
                         out.passing.append(library::stationLine(station.name, station.address)));
    if (out.results && stored) out.failure.note(c.jsonOut, out.results->write(json));
    progress.update(checker.doneCount(), tally.value(check::Outcome::Playing));
  };
  std::optional<CheckRefresh> refresh;
  if (c.refresh) refresh.emplace(dir, limits, engines, c.files);
  QObject::connect(&checker, &check::StationChecker::stationChecked, &checker,
                   [&](int i, const check::CheckResult& r) {
                     const playlists::Station& station = chosen.at(i).station;
                     if (refresh && refresh->holdBack(i, station, r)) return;
                     report(i, station, r);
                   });
  QEventLoop loop;
  QObject::connect(&checker, &check::StationChecker::finished, &loop, &QEventLoop::quit,
                   Qt::QueuedConnection);
  QObject::connect(&checker, &check::StationChecker::engineFailed, &loop,
                   [&](const QString& message) {
                     engineFailure = message;
                     loop.quit();
                   });
  checker.start();
  loop.exec();
  if (refresh && engineFailure.isEmpty()) refresh->run(report, verdicts, console);
  progress.end();
  verdicts.flush();
  if (!verdicts.error().isEmpty()) console.message(verdicts.error());
  if (!engineFailure.isEmpty()) {
    console.error(engineFailure);
    return kExitBadInput;
  }

  // A resumed run tells of every station of its results file.
  const int total = selection.judgedCount + static_cast<int>(chosen.size());
  const int playing = tally.value(check::Outcome::Playing);
  const int failed = total - playing;
  console.message(summaryTable(tally));
  if (selection.resting > 0)
    console.message(QStringLiteral("%1 条线路近期失败，暂不重测（--fresh 全部重测）/ %1 lines failed "
                                   "lately and rest until their retry time (--fresh checks them)")
                        .arg(selection.resting));
  console.message(QStringLiteral("共 %1 个电台：可播放 %2，失败 %3，重复 %4；用时 %5 秒 / %1 stations: "
                                 "%2 playing, %3 failed, %4 duplicates; %5 s")
                      .arg(total)
                      .arg(playing)
                      .arg(failed)
                      .arg(duplicates)
                      .arg(QString::number(clock.elapsed() / 1000.0, 'f', 1)));
  if (out.failure.any()) {
    console.error(cannotWrite(out.failure.path, out.failure.error));
    return kExitBadInput;
  }
  return failed > 0 ? kExitSomeFailed : kExitDone;
}

}  // namespace cli
