#include <QDir>
#include <QEventLoop>
#include <QSet>

#include "engines/subscription_update.h"
#include "base/text_file.h"
#include "base/user_agent.h"
#include "cli/channel_output.h"
#include "cli/commands.h"
#include "cli/console.h"
#include "history/line_key.h"
#include "playlists/station_file.h"

namespace cli {

namespace {

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
  const QString listFile = QDir(dir).filePath(kSubscriptionCache + QStringLiteral("/to_check.txt"));
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
  check.out = QDir(dir).filePath(kSubscriptionCache + QStringLiteral("/passed.txt"));
  return runCheck(check, dir, console);
}

}  // namespace

// Runs the update in an event loop of its own, its progress on the console.
int runUpdate(const CommandLine& c, const QString& dir, Console& console) {
  SubscriptionUpdate update(dir, useragent::forCommand(c.userAgent, dir));
  if (const QString error = update.start(); !error.isEmpty()) {
    console.error(error);
    return kExitBadInput;
  }
  for (const QString& note : update.notes()) console.message(note);
  QString writeError;
  QEventLoop loop;
  QObject::connect(&update, &SubscriptionUpdate::sourceStarted, &loop,
                   [&](int index, const QString& name) {
                     console.progress(QStringLiteral("%1/%2 %3")
                                          .arg(index + 1)
                                          .arg(update.sourceCount())
                                          .arg(name),
                                      true);
                   });
  QObject::connect(&update, &SubscriptionUpdate::finished, &loop,
                   [&](const QString& error) {
                     writeError = error;
                     loop.quit();
                   });
  loop.exec();
  console.endProgress();
  if (!writeError.isEmpty()) {
    console.error(writeError);
    return kExitBadInput;
  }
  console.message(reportTable(update.reports()));

  const playlists::StationList& trusted = update.trustedLines();
  const playlists::StationList& untrusted = update.otherLines();
  if (c.check && checkLines(untrusted, dir, console) == kExitBadInput) return kExitBadInput;
  if (c.out.isEmpty() && c.m3u.isEmpty()) return kExitDone;
  QSet<QString> trustedLines;
  for (const playlists::Station& s : trusted) trustedLines.insert(history::lineKey(s.address));
  return writeChannels(trusted + untrusted, dir, c, console, trustedLines);
}

}  // namespace cli
