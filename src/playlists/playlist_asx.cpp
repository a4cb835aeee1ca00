#include "playlists/playlist_builder.h"
#include "playlists/asx_list.h"

namespace playlists {

void parseAsx(const QString& text, PlaylistBuilder& builder) {
  for (const asx::Entry& entry : asx::read(text)) {
    if (entry.refs.isEmpty())
      builder.skip(entry.line, QStringLiteral("条目没有地址 / an entry without an address"));
    else
      builder.add(entry.line, entry.title, StationAddress::parse(entry.refs.first()));
  }
}

}  // namespace playlists
