#include "playlists/station_file.h"

#include <QFileInfo>

#include <algorithm>
#include <tuple>

#include "base/text_file.h"
#include "playlists/guide_tags.h"
#include "playlists/station_files.h"
#include "playlists/playlist_builder.h"
#include "playlists/station_address.h"
#include "playlists/tidy_address.h"

namespace playlists {

namespace {

std::optional<QString> storableAddress(const QString& raw) {
  const QString address = raw.trimmed();
  if (address.isEmpty() || hasControlCharacters(address)) return std::nullopt;
  if (!addressScheme(address).isEmpty()) return withEncodedCommas(address);
  if (address.contains(u',')) return std::nullopt;
  return address;
}

}  // namespace

QString stationFileLine(const Station& s) {
  const auto address = storableAddress(s.address);
  if (!address) return {};
  QString name = tidyName(s.name);
  if (name.isEmpty()) name = tidyName(nameFromAddress(bareAddress(*address)));
  const QString line = name + u',' + *address + u',';
  const QString group = tidyName(s.group);
  if (!s.tags.isEmpty()) return line + group + u',' + guideTagsField(s.tags) + u',';
  return group.isEmpty() ? line : line + group + u',';
}

QStringView stationLineAddress(QStringView line) {
  const qsizetype c1 = line.indexOf(u',');
  if (c1 < 0) return {};
  const qsizetype c2 = line.indexOf(u',', c1 + 1);
  return line.mid(c1 + 1, c2 < 0 ? -1 : c2 - c1 - 1).trimmed();
}

QString stationLineKey(QStringView line) {
  const QStringView address = stationLineAddress(line);
  return address.isEmpty() ? line.trimmed().toString() : requestKey(address.toString());
}

QString knownAddressKey(const QString& address) { return duplicateKey(bareAddress(address)); }


std::optional<Playlist> readStationFile(const QString& path, const StationSink& onStation) {
  const auto text = QFileInfo::exists(path) ? textfile::read(path) : QString();
  if (!text) return std::nullopt;
  return parsePlaylist(*text, PlaylistFormat::StationLines, {}, onStation);
}

}  // namespace playlists

QString library::stationLine(const QString& name, const QString& address) {
  return playlists::stationFileLine({name, address, {}});
}
