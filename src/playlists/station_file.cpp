#include "playlists/station_file.h"

#include "playlists/guide_tags.h"

#include <QFileInfo>

#include "base/text_file.h"
#include "playlists/station_files.h"
#include "playlists/station_address.h"
#include "playlists/tidy_address.h"

namespace playlists {

QString stationFileLine(const Station& s) {
  const QString line = library::stationLine(s.name, s.address);
  if (!s.tags.isEmpty()) return line + s.group + u',' + guideTagsField(s.tags) + u',';
  return s.group.isEmpty() ? line : line + s.group + u',';
}

QString knownAddressKey(const QString& address) { return duplicateKey(bareAddress(address)); }

std::optional<Playlist> readStationFile(const QString& path, const StationSink& onStation) {
  const auto text = QFileInfo::exists(path) ? textfile::read(path) : QString();
  if (!text) return std::nullopt;
  return parsePlaylist(*text, PlaylistFormat::StationLines, {}, onStation);
}

}  // namespace playlists
