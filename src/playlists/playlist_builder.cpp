#include "playlists/playlist_builder.h"

#include "playlists/guide_tags.h"

#include "playlists/tidy_address.h"

namespace playlists {

QString tidyName(const QString& raw) {
  QString name = raw.left(kMaxNameLength * 4);
  for (QChar& c : name) {
    if (c.unicode() < 0x20 || c.unicode() == 0x7f) c = u' ';
    // A comma would end the name in a station line: use the full-width one.
    else if (c == u',')
      c = QChar(0xFF0C);
  }
  name = name.simplified();
  if (name.size() <= kMaxNameLength) return name;
  // The cut never leaves a space at the end, which a station line drops,
  // nor half of a character.
  name.truncate(name.at(kMaxNameLength).isLowSurrogate() ? kMaxNameLength - 1 : kMaxNameLength);
  return name.trimmed();
}

void PlaylistBuilder::add(int line, const QString& name, const StationAddress& address,
                          const QString& group, const GuideTags& tags) {
  const TidyAddress tidy = tidyAddress(address.bare, m_baseDir);
  if (tidy.problem) return skip(line, describe(*tidy.problem));
  QString tidied = tidyName(name);
  if (tidied.isEmpty()) tidied = tidyName(nameFromAddress(tidy.address));
  Station station{tidied, tidy.address, tidyName(group), tidyTags(tags)};
  if (!address.headers.isEmpty()) {
    // Headers that would not read back whole (too long, unsafe) are
    // dropped, never stored half.
    const QString text = StationAddress{tidy.address, address.headers}.text();
    if (StationAddress::parse(text).headers == address.headers) station.address = text;
  }
  if (m_onStation)
    m_onStation(std::move(station));
  else
    m_playlist.stations.append(std::move(station));
}

void PlaylistBuilder::skip(int line, const QString& reason) {
  m_playlist.skipped.append({line, reason});
}

}  // namespace playlists
