#include <QDir>
#include <QFileInfo>
#include <QHash>
#include <algorithm>

#include "form/play_outcome.h"
#include "cli/check_report.h"
#include "cli/commands.h"
#include "cli/console.h"
#include "cli/json_lines.h"
#include "library/line_appender.h"
#include "playlists/station_files.h"

namespace cli {

namespace {

QString text(const QJsonObject& o, const char* key) { return o.value(QLatin1String(key)).toString(); }

check::Outcome outcomeOf(const QJsonObject& o) {
  if (text(o, "verdict") == u"playing") return check::Outcome::Playing;
  return check::outcomeOfKey(text(o, "reason")).value_or(check::Outcome::BadMedia);
}

// Every station's last line over all files (a resumed shard may judge a
// station twice), in the order of the whole list.
std::optional<QList<QJsonObject>> joinShards(const QStringList& files, Console& console) {
  QHash<QString, QJsonObject> byAddress;
  for (const QString& file : files) {
    const auto lines = readJsonLines(file);
    if (!lines) {
      console.error(QStringLiteral("无法读取 %1 / cannot read %1").arg(file));
      return std::nullopt;
    }
    for (const QJsonObject& o : *lines)
      if (o.contains(QLatin1String("verdict"))) byAddress.insert(text(o, "address"), o);
  }
  QList<QJsonObject> joined = byAddress.values();
  std::sort(joined.begin(), joined.end(), [](const QJsonObject& a, const QJsonObject& b) {
    return a.value(QLatin1String("index")).toInt() < b.value(QLatin1String("index")).toInt();
  });
  return joined;
}

}  // namespace

int runMerge(const CommandLine& c, const QString& dir, Console& console) {
  const auto joined = joinShards(c.files, console);
  if (!joined) return kExitBadInput;
  library::LineAppender passing(c.out.isEmpty() ? QDir(dir).filePath(library::kFoundFile)
                                                : QFileInfo(c.out).absoluteFilePath());
  std::optional<JsonLinesWriter> report;
  if (!c.jsonOut.isEmpty()) report.emplace(c.jsonOut);
  FirstWriteFailure failure;
  failure.note(passing.path(), passing.open());
  if (report) failure.note(c.jsonOut, report->open(false));
  OutcomeTally tally;
  for (const QJsonObject& o : *joined) {
    if (failure.any()) break;
    const check::Outcome outcome = outcomeOf(o);
    ++tally[outcome];
    if (report) failure.note(c.jsonOut, report->write(o));
    else console.print(compact(o));
    if (outcome == check::Outcome::Playing)
      failure.note(passing.path(), passing.append(library::stationLine(text(o, "name"), text(o, "address"))));
  }
  if (failure.any()) {
    console.error(cannotWrite(failure.path, failure.error));
    return kExitBadInput;
  }
  console.message(summaryTable(tally));
  return tally.value(check::Outcome::Playing) == joined->size() ? kExitDone : kExitSomeFailed;
}

}  // namespace cli
