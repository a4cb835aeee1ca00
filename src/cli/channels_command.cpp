#include "cli/channel_output.h"
#include "cli/commands.h"
#include "cli/console.h"
#include "cli/skipped_report.h"
#include "playlists/playlist.h"

namespace cli {

namespace {

// The stations of every list, in the order given; nothing when one cannot be
// read.
std::optional<playlists::StationList> readLists(const QStringList& files, Console& console) {
  playlists::StationList stations;
  for (const QString& file : files) {
    const auto read = playlists::readPlaylist(
        file, [&](playlists::Station&& s) { stations.append(std::move(s)); });
    if (!read) {
      console.error(QStringLiteral("无法读取 %1 / cannot read %1").arg(file));
      return std::nullopt;
    }
    reportSkipped(console, file, read->skipped);
  }
  return stations;
}

}  // namespace

int runChannels(const CommandLine& c, const QString& dir, Console& console) {
  const auto stations = readLists(c.files, console);
  if (!stations) return kExitBadInput;
  return writeChannels(*stations, dir, c, console);
}

}  // namespace cli
