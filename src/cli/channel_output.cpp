#include "cli/channel_output.h"

#include <QDateTime>
#include <QDir>
#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>

#include "base/text_file.h"
#include "channels/channel_lists.h"
#include "cli/console.h"
#include "history/health_db.h"
#include "playlists/channel_aliases.h"
#include "playlists/station_files.h"

namespace cli {

namespace {

QString standingKey(channels::LineStanding standing) {
  switch (standing) {
    case channels::LineStanding::Trusted: return QStringLiteral("trusted");
    case channels::LineStanding::Working: return QStringLiteral("playing");
    case channels::LineStanding::FailedLongAgo: return QStringLiteral("failed_long_ago");
    case channels::LineStanding::NeverChecked: return QStringLiteral("unchecked");
    case channels::LineStanding::FailedLately: return QStringLiteral("failed");
  }
  return {};
}

QString timeText(const QDateTime& time) {
  return time.isValid() ? time.toUTC().toString(Qt::ISODate) : QString();
}

QJsonObject lineJson(const channels::RankedLine& line) {
  const channels::LineRecord& r = line.record;
  return {{QStringLiteral("name"), line.station.name},
          {QStringLiteral("address"), line.station.address},
          {QStringLiteral("standing"), standingKey(line.standing)},
          {QStringLiteral("last_success"), timeText(r.lastSuccess)},
          {QStringLiteral("last_failure"), timeText(r.lastFailure)},
          {QStringLiteral("flagged"), r.flagged},
          {QStringLiteral("download_bps"), r.downloadBps},
          {QStringLiteral("bitrate"), r.bitrate},
          {QStringLiteral("width"), r.width},
          {QStringLiteral("height"), r.height},
          {QStringLiteral("first_frame_ms"), r.firstFrameMs}};
}

QJsonObject channelJson(const channels::RankedChannel& c) {
  QJsonArray lines;
  for (const channels::RankedLine& line : c.lines) lines.append(lineJson(line));
  return {{QStringLiteral("channel"), c.name},
          {QStringLiteral("group"), c.group},
          {QStringLiteral("lines"), lines}};
}

bool writeText(const QString& path, const QString& text, Console& console) {
  const auto written = textfile::writeBytes(path, text.toUtf8());
  if (!written) console.error(cannotWrite(path, written.error));
  return bool(written);
}

}  // namespace

int writeChannels(const playlists::StationList& stations, const QString& dir, const CommandLine& c,
                  Console& console, const QSet<QString>& trusted) {
  const auto names = playlists::ChannelNames::forFolder(dir);
  for (const QString& problem : names.problems())
    console.message(QStringLiteral("%1: %2").arg(library::kAliasFile, problem));
  const QList<channels::Channel> grouped = channels::groupChannels(stations, names);

  history::HealthDb db;
  if (const history::Result opened = db.open(dir); !opened.message.isEmpty())
    console.message(opened.message);
  const auto ranked = channels::rankChannels(
      grouped, db.summaries(channels::lineKeysOf(grouped)), QDateTime::currentDateTimeUtc(),
      {c.keep, c.all, trusted});

  if (c.json) {
    for (const channels::RankedChannel& channel : ranked)
      console.print(QString::fromUtf8(QJsonDocument(channelJson(channel)).toJson(QJsonDocument::Compact)));
  } else if (c.out.isEmpty() && c.m3u.isEmpty() && !ranked.isEmpty()) {
    console.print(channels::toTextList(ranked).chopped(1));
  }
  if (!c.out.isEmpty() && !writeText(c.out, channels::toTextList(ranked), console))
    return kExitBadInput;
  if (!c.m3u.isEmpty() && !writeText(c.m3u, channels::toM3u(ranked), console))
    return kExitBadInput;
  return kExitDone;
}

}  // namespace cli
