#include "playlists/station_file.h"

#include <QFileInfo>
#include <QSet>

#include "base/text_file.h"
#include "library/station_files.h"
#include "library/unique_line_file.h"
#include "playlists/playlist.h"
#include "playlists/station_address.h"
#include "playlists/tidy_address.h"

namespace playlists {

QString stationFileLine(const Station& s) {
  const QString line = library::stationLine(s.name, s.address);
  return s.group.isEmpty() ? line : line + s.group + u',';
}

QString knownAddressKey(const QString& address) { return duplicateKey(bareAddress(address)); }

std::optional<StationList> readStationFile(const QString& path) {
  if (!QFileInfo::exists(path)) return StationList{};
  const auto text = textfile::read(path);
  if (!text) return std::nullopt;
  return parsePlaylist(*text, PlaylistFormat::StationLines, {}).stations;
}

AppendOutcome appendStations(const QString& path, const StationList& stations) {
  AppendOutcome outcome;
  const auto existing = readStationFile(path);
  if (!existing) return {0, 0, false};
  QSet<QString> keys;
  keys.reserve(existing->size() + stations.size());
  for (const Station& s : *existing) keys.insert(knownAddressKey(s.address));
  QStringList lines;
  for (const Station& s : stations) {
    const QString key = knownAddressKey(s.address);
    if (keys.contains(key)) {
      ++outcome.duplicates;
      continue;
    }
    keys.insert(key);
    lines << stationFileLine(s);
  }
  if (lines.isEmpty()) return outcome;
  outcome.written = bool(library::AppendUniqueLine(path, lines.join(QStringLiteral("\r\n"))));
  outcome.added = outcome.written ? static_cast<int>(lines.size()) : 0;
  return outcome;
}

}  // namespace playlists
