#include "cli/found_station_writer.h"

#include <QFileInfo>
#include <QSet>

#include "base/text_file.h"
#include "playlists/playlist.h"
#include "playlists/tidy_address.h"
#include "library/station_files.h"
#include "library/unique_line_file.h"

namespace cli {

std::optional<playlists::StationList> readStationFile(const QString& path) {
  if (!QFileInfo::exists(path)) return playlists::StationList{};
  const auto text = textfile::read(path);
  if (!text) return std::nullopt;
  return playlists::parsePlaylist(*text, playlists::PlaylistFormat::StationLines, {}).stations;
}

AppendOutcome appendStations(const QString& path, const playlists::StationList& stations) {
  AppendOutcome outcome;
  const auto existing = readStationFile(path);
  if (!existing) return {0, 0, QStringLiteral("the file cannot be read")};
  QSet<QString> keys;
  for (const playlists::Station& s : *existing) keys.insert(playlists::duplicateKey(s.address));
  QStringList lines;
  for (const playlists::Station& s : stations) {
    const QString key = playlists::duplicateKey(s.address);
    if (keys.contains(key)) {
      ++outcome.duplicates;
      continue;
    }
    keys.insert(key);
    lines << library::stationLine(s.name, s.address);
  }
  if (lines.isEmpty()) return outcome;
  outcome.error = library::AppendUniqueLine(path, lines.join(QStringLiteral("\r\n"))).error;
  outcome.added = outcome.error.isEmpty() ? static_cast<int>(lines.size()) : 0;
  return outcome;
}

}  // namespace cli
