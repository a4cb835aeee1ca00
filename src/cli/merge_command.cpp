#include <QDir>
#include <QFileInfo>
#include <QHash>
#include <algorithm>
#include <memory>

#include "history/health_db.h"
#include "history/verdict_batch.h"
#include "form/play_outcome.h"
#include "cli/check_report.h"
#include "cli/commands.h"
#include "cli/console.h"
#include "cli/json_lines.h"
#include "library/line_appender.h"
#include "playlists/key_set.h"
#include "playlists/station_address.h"
#include "playlists/station_files.h"

namespace cli {

namespace {

QString text(const QJsonObject& o, const char* key) { return o.value(QLatin1String(key)).toString(); }

// The line a station's merged result is taken from: where it is, and no
// more, so that millions of stations cost little memory.
struct Chosen {
  int file = 0;
  qint64 offset = 0;
  int index = 0;
  bool playing = false;
};

// The lines of a shard that were no result, named up to this many.
constexpr int kNamedLines = 5;

void reportUnread(Console& console, const QString& file, const QList<int>& lines, int count) {
  if (count == 0) return;
  QStringList numbers;
  for (int n : lines) numbers << QString::number(n);
  if (count > lines.size()) numbers << QStringLiteral("… (%1)").arg(count);
  console.error(QStringLiteral("%1：无法读取的行 %2 / %1: lines that are no result: %2")
                    .arg(file, numbers.join(QStringLiteral(", "))));
}

// Every shard read once, line by line: each station keeps a pass from any
// shard, else its last line (a resumed shard may judge a station twice).
struct Shards {
  std::vector<std::unique_ptr<JsonLinesReader>> readers;  // kept open to fetch the chosen lines
  QHash<playlists::KeySet::Hash, Chosen> chosen;
  bool unreadable = false;  // a file could not be read or holds no result

  void read(const QString& file, Console& console) {
    const int f = static_cast<int>(readers.size());
    auto& reader = readers.emplace_back(std::make_unique<JsonLinesReader>(file));
    if (!reader->open()) {
      console.error(QStringLiteral("无法读取 %1 / cannot read %1").arg(file));
      unreadable = true;
      return;
    }
    int results = 0;
    int unread = 0;
    QList<int> named;
    while (const auto line = reader->next()) {
      if (line->blank) continue;
      const auto outcome = line->object ? outcomeOfJson(*line->object) : std::nullopt;
      if (!outcome) {
        if (++unread <= kNamedLines) named << line->number;
        continue;
      }
      ++results;
      take(playlists::requestKey(text(*line->object, "address")),
           {f, line->offset, line->object->value(QLatin1String("index")).toInt(),
            *outcome == check::Outcome::Playing});
    }
    reportUnread(console, file, named, unread);
    if (results > 0) return;
    console.error(QStringLiteral("%1 没有检测结果 / %1 holds no check results").arg(file));
    unreadable = true;
  }

  void take(const QString& key, const Chosen& line) {
    Chosen& kept = chosen[playlists::KeySet::hashOf(key)];
    if (!kept.playing || line.playing) kept = line;
  }

  // The chosen lines in the order of the whole list.
  QList<Chosen> inOrder() {
    QList<Chosen> lines = chosen.values();
    chosen.clear();
    std::sort(lines.begin(), lines.end(), [](const Chosen& a, const Chosen& b) {
      return std::tie(a.index, a.file, a.offset) < std::tie(b.index, b.file, b.offset);
    });
    return lines;
  }
};

}  // namespace

int runMerge(const CommandLine& c, const QString& dir, Console& console) {
  Shards shards;
  for (const QString& file : c.files) shards.read(file, console);
  if (shards.unreadable) return kExitBadInput;
  const QList<Chosen> lines = shards.inOrder();
  library::LineAppender passing(c.out.isEmpty() ? QDir(dir).filePath(library::kFoundFile)
                                                : QFileInfo(c.out).absoluteFilePath());
  std::optional<JsonLinesWriter> report;
  if (!c.jsonOut.isEmpty()) report.emplace(c.jsonOut);
  FirstWriteFailure failure;
  failure.note(passing.path(), passing.open());
  if (report) failure.note(c.jsonOut, report->open(false));
  history::HealthDb db;
  if (const history::Result opened = db.open(dir); !opened.message.isEmpty())
    console.message(opened.message);
  history::VerdictBatch verdicts(db.isOpen() ? &db : nullptr);
  const QDateTime now = QDateTime::currentDateTimeUtc();
  OutcomeTally tally;
  for (const Chosen& chosen : lines) {
    if (failure.any()) break;
    const QString& file = c.files.at(chosen.file);
    const auto o = shards.readers[chosen.file]->objectAt(chosen.offset);
    const auto outcome = o ? outcomeOfJson(*o) : std::nullopt;
    if (!outcome) {
      console.error(QStringLiteral("%1 在合并时改变了 / %1 changed while merging").arg(file));
      return kExitBadInput;
    }
    ++tally[*outcome];
    verdicts.add(lineVerdictOfJson(*o, now, history::source::kMerge));
    bool stored = true;
    if (chosen.playing) {
      const QString line = library::stationLine(text(*o, "name"), text(*o, "address"));
      if (line.isEmpty())
        console.error(QStringLiteral("%1：第 %2 号电台的地址无法保存 / %1: the address of station "
                                     "%2 cannot be stored")
                          .arg(file)
                          .arg(chosen.index));
      stored = failure.note(passing.path(), passing.append(line));
    }
    if (!report)
      console.print(compact(*o));
    else if (stored)
      failure.note(c.jsonOut, report->write(*o));
  }
  if (failure.any()) {
    console.error(cannotWrite(failure.path, failure.error));
    return kExitBadInput;
  }
  console.message(summaryTable(tally));
  return tally.value(check::Outcome::Playing) == lines.size() ? kExitDone : kExitSomeFailed;
}

}  // namespace cli
