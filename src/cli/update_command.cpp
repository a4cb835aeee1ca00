#include <QCryptographicHash>
#include <QDir>
#include <QEventLoop>
#include <QFile>
#include <QSet>

#include "base/text_file.h"
#include "base/user_agent.h"
#include "cli/channel_output.h"
#include "cli/commands.h"
#include "cli/console.h"
#include "engines/source_fetch.h"
#include "history/health_db.h"
#include "history/line_key.h"
#include "library/source_lines.h"
#include "library/subscription_list.h"
#include "playlists/playlist_import.h"
#include "playlists/station_files.h"
#include "playlists/station_file.h"

namespace cli {

namespace {

// Each source's last good body is kept, so an unchanged source (304) still
// gives its lines to the check and the ranked lists.
const QString kCacheFolder = QStringLiteral("subscriptions");

QString cachePath(const QString& dir, const QString& address) {
  const QByteArray hash = QCryptographicHash::hash(address.toUtf8(), QCryptographicHash::Sha1);
  return QDir(dir).filePath(kCacheFolder + u'/' + QString::fromLatin1(hash.toHex()) +
                            QStringLiteral(".list"));
}

QByteArray readCache(const QString& path) {
  QFile file(path);
  return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
}

// One row of the closing table.
struct SourceReport {
  QString name;
  QString state;  // fetched, not modified, failed (reason)
  int linesRead = 0;
  int added = 0;
  int duplicates = 0;
};

SourceAnswer fetch(const library::Subscription& source, const history::SourceState& last,
                   bool cached, const QByteArray& userAgent) {
  SourceFetch fetcher;
  SourceAnswer answer;
  QEventLoop loop;
  QObject::connect(&fetcher, &SourceFetch::finished, &loop, [&](const SourceAnswer& a) {
    answer = a;
    loop.quit();
  });
  fetcher.start(source.address, cached ? last.etag : QString(),
                cached ? last.lastModified : QString(), userAgent, {});
  loop.exec();
  return answer;
}

// Fetches and reads one source; its lines go into lines, its row into the
// report, what was learnt into the history.
SourceReport updateSource(const library::Subscription& source,
                          const library::SubscriptionList& list, const QString& dir,
                          history::HealthDb& db, const QByteArray& userAgent,
                          playlists::StationList* lines) {
  SourceReport report{source.name, {}, 0, 0, 0};
  history::SourceState state = db.source(source.address).value_or(history::SourceState{});
  state.address = source.address;
  state.fetched = QDateTime::currentDateTimeUtc();
  const QString cache = cachePath(dir, source.address);
  const SourceAnswer answer = fetch(source, state, QFile::exists(cache), userAgent);
  QByteArray body;
  if (answer.kind == SourceAnswer::Kind::Fetched) {
    body = answer.body;
    state.etag = answer.etag;
    state.lastModified = answer.lastModified;
  } else if (answer.kind == SourceAnswer::Kind::NotModified) {
    body = readCache(cache);
  }
  library::SourceLines read;
  if (answer.kind != SourceAnswer::Kind::Failed) read = library::readSourceLines(body, source.address, list);
  const QString reason = answer.kind == SourceAnswer::Kind::Failed ? answer.reason : read.reason;
  if (!reason.isEmpty()) {
    report.state = QStringLiteral("failed (%1)").arg(reason);
    state.result = QStringLiteral("failed");
  } else {
    report.state = answer.kind == SourceAnswer::Kind::Fetched ? QStringLiteral("fetched")
                                                                : QStringLiteral("not modified");
    state.result = answer.kind == SourceAnswer::Kind::Fetched ? QStringLiteral("ok")
                                                                : QStringLiteral("unchanged");
    if (answer.kind == SourceAnswer::Kind::Fetched) (void)textfile::writeBytes(cache, body);
  }
  state.reason = reason;
  state.linesRead = report.linesRead = static_cast<int>(read.stations.size());
  (void)db.putSource(state);
  *lines += read.stations;
  return report;
}

QString reportTable(const QList<SourceReport>& rows) {
  QString table = QStringLiteral("%1  %2  %3  %4  %5\n")
                      .arg(QStringLiteral("source / 订阅源"), -32)
                      .arg(QStringLiteral("result"), -24)
                      .arg(QStringLiteral("lines"), 7)
                      .arg(QStringLiteral("new"), 7)
                      .arg(QStringLiteral("dups"), 7);
  for (const SourceReport& r : rows)
    table += QStringLiteral("%1  %2  %3  %4  %5\n")
                 .arg(r.name.left(32), -32)
                 .arg(r.state, -24)
                 .arg(r.linesRead, 7)
                 .arg(r.added, 7)
                 .arg(r.duplicates, 7);
  return table.chopped(1);
}

// Checks the lines of untrusted sources whose rest has ended, into the
// history; the passing ones need no file of their own.
int checkLines(const playlists::StationList& lines, const QString& dir, Console& console) {
  const QString listFile = QDir(dir).filePath(kCacheFolder + QStringLiteral("/to_check.txt"));
  QString text;
  for (const playlists::Station& s : lines) text += playlists::stationFileLine(s) + QStringLiteral("\r\n");
  if (const auto written = textfile::write(listFile, text); !written) {
    console.error(cannotWrite(listFile, written.error));
    return kExitBadInput;
  }
  CommandLine check;
  check.command = Command::Check;
  check.files = {listFile};
  check.jobs = 16;
  check.timeoutSeconds = 10;
  check.out = QDir(dir).filePath(kCacheFolder + QStringLiteral("/passed.txt"));
  return runCheck(check, dir, console);
}

}  // namespace

int runUpdate(const CommandLine& c, const QString& dir, Console& console) {
  const QString listPath = QDir(dir).filePath(library::kSubscriptionFile);
  const auto text = textfile::read(listPath);
  if (!text) {
    console.error(QStringLiteral("无法读取 %1 / cannot read %1").arg(listPath));
    return kExitBadInput;
  }
  const library::SubscriptionList list = library::parseSubscriptions(*text);
  for (const QString& problem : list.problems)
    console.message(library::kSubscriptionFile + QStringLiteral(": ") + problem);
  QDir(dir).mkpath(kCacheFolder);
  history::HealthDb db;
  if (const history::Result opened = db.open(dir); !opened.message.isEmpty())
    console.message(opened.message);
  const QByteArray userAgent = useragent::forCommand(c.userAgent, dir);

  QList<SourceReport> rows;
  playlists::StationList trusted, untrusted;
  for (const library::Subscription& source : list.sources) {
    console.progress(QStringLiteral("%1/%2 %3").arg(rows.size() + 1).arg(list.sources.size()).arg(source.name), true);
    playlists::StationList lines;
    rows.append(updateSource(source, list, dir, db, userAgent, &lines));
    const playlists::ImportOutcome added =
        playlists::addStations(QDir(dir).filePath(library::kLibraryFile), lines);
    if (!added.writeError.isEmpty()) {
      console.error(added.writeError);
      return kExitBadInput;
    }
    rows.last().added = added.added;
    rows.last().duplicates = added.alreadyThere;
    (source.trusted ? trusted : untrusted) += lines;
  }
  console.endProgress();
  console.message(reportTable(rows));
  db.close();

  if (c.check && checkLines(untrusted, dir, console) == kExitBadInput) return kExitBadInput;
  if (c.out.isEmpty() && c.m3u.isEmpty()) return kExitDone;
  QSet<QString> trustedLines;
  for (const playlists::Station& s : trusted) trustedLines.insert(history::lineKey(s.address));
  return writeChannels(trusted + untrusted, dir, c, console, trustedLines);
}

}  // namespace cli
