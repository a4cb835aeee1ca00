#include "playlists/station_file.h"

#include <QFileInfo>

#include <algorithm>
#include <tuple>

#include "base/text_file.h"
#include "playlists/station_files.h"
#include "playlists/station_address.h"
#include "playlists/tidy_address.h"

namespace playlists {

QString stationFileLine(const Station& s) {
  const QString line = library::stationLine(s.name, s.address);
  return s.group.isEmpty() ? line : line + s.group + u',';
}

QString knownAddressKey(const QString& address) { return duplicateKey(bareAddress(address)); }

QString requestKey(const QString& addressText) { return requestKey(StationAddress::parse(addressText)); }

QString requestKey(StationAddress address) {
  for (RequestHeader& h : address.headers) h.name = h.name.toLower();
  std::sort(address.headers.begin(), address.headers.end(),
            [](const RequestHeader& a, const RequestHeader& b) {
              return std::tie(a.name, a.value) < std::tie(b.name, b.value);
            });
  address.bare = knownAddressKey(address.bare);
  return address.text();
}

std::optional<Playlist> readStationFile(const QString& path, const StationSink& onStation) {
  const auto text = QFileInfo::exists(path) ? textfile::read(path) : QString();
  if (!text) return std::nullopt;
  return parsePlaylist(*text, PlaylistFormat::StationLines, {}, onStation);
}

}  // namespace playlists
