#include <QDir>
#include <QEventLoop>
#include <QFileInfo>

#include "base/core_host.h"
#include "base/user_agent.h"
#include "channels/channel_grouping.h"
#include "channels/line_switcher.h"
#include "cli/check_report.h"
#include "cli/commands.h"
#include "cli/console.h"
#include "cli/play_report.h"
#include "cli/token_browser.h"
#include "engines/mpv_channel_player.h"
#include "history/health_db.h"
#include "library/address_rewrite.h"
#include "playlists/channel_aliases.h"
#include "playlists/network_address.h"
#include "playlists/playlist.h"
#include "playlists/station_files.h"

namespace cli {

namespace {

// An address plays as it is; anything else names a channel.
bool isAddress(const QString& text) {
  return playlists::hasNetworkScheme(text) || text.startsWith(u'/') ||
         text.startsWith(QStringLiteral("file:"), Qt::CaseInsensitive);
}

// The files a channel's lines come from: the --list files, else the
// program folder's station files.
QStringList listFiles(const CommandLine& c, const QString& dir) {
  if (!c.lists.isEmpty()) return c.lists;
  QStringList files;
  for (const QString& name : {library::kFoundFile, library::kScannedFile, library::kLibraryFile})
    if (QFileInfo::exists(QDir(dir).filePath(name))) files << QDir(dir).filePath(name);
  return files;
}

// The lines of the channel the name names (through the channel keys and
// the folder's aliases), in list order; nothing when a file cannot be read.
std::optional<playlists::StationList> channelLines(const QString& name, const QStringList& files,
                                                   const QString& dir, Console& console) {
  playlists::StationList stations;
  for (const QString& file : files) {
    const auto playlist = playlists::readPlaylist(file);
    if (!playlist) {
      console.error(QStringLiteral("无法读取 %1 / cannot read %1").arg(file));
      return std::nullopt;
    }
    stations += playlist->stations;
  }
  const auto names = playlists::ChannelNames::forFolder(dir);
  const QString key = names.key(name);
  for (const channels::Channel& channel : channels::groupChannels(stations, names))
    if (channel.key == key) return channel.lines;
  return playlists::StationList{};
}

ChannelOutput outputOf(const CommandLine& c, const QString& dir) {
  ChannelOutput out;
  out.audioDriver = c.audioOutput.toUtf8();
  out.video = !c.noVideo;
  out.userAgent = useragent::forCommand({}, dir);
  return out;
}

channels::SwitchLimits limitsOf(const CommandLine& c) {
  channels::SwitchLimits limits;
  limits.stallMs = qRound(c.stallSeconds * 1000);
  limits.badMs = qRound(c.badSeconds * 1000);
  return limits;
}

// A refreshed line replaces the old one in the files the lines came from.
void writeBack(const channels::LineEvent& e, const QStringList& files, Console& console) {
  int replaced = 0;
  for (const QString& file : files) {
    const library::Rewrite r = library::replaceAddress(file, e.previousAddress, e.address);
    if (!r.error.isEmpty()) console.error(cannotWrite(file, r.error));
    replaced += r.replaced;
  }
  if (replaced == 0 && !files.isEmpty())
    console.message(QStringLiteral("刷新后的地址未能写回：文件中找不到原地址 / the refreshed address "
                                   "was not written back: no file holds the old one"));
}

}  // namespace

int runPlay(const CommandLine& c, const QString& dir, Console& console) {
  playlists::StationList lines;
  QStringList files;
  if (isAddress(c.channel)) {
    lines << playlists::Station{c.channel, c.channel, {}};
  } else {
    files = listFiles(c, dir);
    const auto found = channelLines(c.channel, files, dir, console);
    if (!found) return kExitBadInput;
    lines = *found;
  }
  if (lines.isEmpty()) {
    console.error(QStringLiteral("找不到频道“%1” / no channel named '%1'").arg(c.channel));
    return kExitBadInput;
  }

  const ChannelOutput output = outputOf(c, dir);
  MpvChannelPlayer player(output);
  if (const QString failure = player.startFailure(); !failure.isEmpty()) {
    console.error(failure);
    return kExitBadInput;
  }
  // Without a history the lines play in list order.
  history::HealthDb health;
  (void)health.open(dir);
  CoreHost host;
  channels::LineSwitcher switcher(player, host, health);
  switcher.setLimits(limitsOf(c));
  const auto refresher = commandRefresher(dir, host, output.userAgent);
  switcher.setRefresher(refresher.get());

  QEventLoop loop;
  bool done = false;
  const auto end = [&] {
    done = true;
    loop.quit();
  };
  int exitCode = kExitDone;
  QObject::connect(&switcher, &channels::LineSwitcher::event, &loop,
                   [&](const channels::LineEvent& e) {
                     console.print(c.json ? compact(eventJson(e)) : eventLine(e));
                     if (e.kind == channels::LineEvent::Kind::Refreshed)
                       writeBack(e, files, console);
                     if (e.kind != channels::LineEvent::Kind::GaveUp) return;
                     exitCode = kExitSomeFailed;
                     end();
                   });
  const qint64 goodMs = qRound64(c.forSeconds * 1000);
  QObject::connect(&switcher, &channels::LineSwitcher::playedGood, &loop, [&](qint64 totalMs) {
    if (goodMs > 0 && totalMs >= goodMs) end();
  });
  switcher.playChannel(lines);
  if (!done) loop.exec();
  switcher.stop();
  return exitCode;
}

}  // namespace cli
