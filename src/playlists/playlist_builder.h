#pragma once

#include "playlists/playlist.h"
#include "playlists/station_address.h"

namespace playlists {

// Collects the entries the format parsers find: tidies names and addresses
// and records why an entry was left out.
class PlaylistBuilder {
 public:
  // Stations go to onStation when one is given, else into the playlist.
  PlaylistBuilder(Playlist& playlist, const QString& baseDir, const StationSink& onStation)
      : m_playlist(playlist), m_baseDir(baseDir), m_onStation(onStation) {}

  // The bare address is tidied; the headers are kept in the station's
  // address text in their canonical "|" form.
  void add(int line, const QString& name, const StationAddress& address,
           const QString& group = {}, const GuideTags& tags = {});
  void skip(int line, const QString& reason);

 private:
  Playlist& m_playlist;
  QString m_baseDir;
  const StationSink& m_onStation;
};

// Names are shown in one list box line and stored in comma-separated lines.
constexpr int kMaxNameLength = 200;
QString tidyName(const QString& raw);

// The parsers of the formats, one per file.
void parseStationLines(const QString& text, PlaylistBuilder& builder);
void parseTextList(const QString& text, PlaylistBuilder& builder);
void parseM3u(const QString& text, PlaylistBuilder& builder);
void parsePls(const QString& text, PlaylistBuilder& builder);
void parseAsx(const QString& text, PlaylistBuilder& builder);

}  // namespace playlists
