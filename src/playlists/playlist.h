#pragma once

#include <QList>
#include <QString>
#include <functional>
#include <optional>

#include "playlists/station.h"

namespace playlists {

// TextList: the Chinese channel lists, "名,URL" lines under "分组,#genre#".
enum class PlaylistFormat { StationLines, M3u, Pls, Asx, TextList };

// An entry of a playlist that could not become a station.
struct SkippedEntry {
  int line = 0;    // 1-based line of the playlist where the entry stood
  QString reason;  // bilingual, one line
};

// What a playlist yields: the stations in playlist order, and what was left out.
struct Playlist {
  PlaylistFormat format = PlaylistFormat::StationLines;
  StationList stations;
  QList<SkippedEntry> skipped;
};

// Takes the stations of a playlist one by one as they are read.
using StationSink = std::function<void(Station&&)>;

// The format of a playlist, from marks in its text first, then from its
// file name.
PlaylistFormat detectPlaylistFormat(const QString& fileName, const QString& text);

// Reads the stations of a playlist text; relative local paths are taken
// from baseDir. With onStation, stations go there instead of into the
// playlist.
Playlist parsePlaylist(const QString& text, PlaylistFormat format, const QString& baseDir,
                       const StationSink& onStation = {});

// Reads a playlist file; nothing when it cannot be read. With onStation,
// each station goes there as it is read instead of being kept: a list of a
// million stations is never held whole, and the playlist returned holds
// only what was skipped.
std::optional<Playlist> readPlaylist(const QString& path, const StationSink& onStation = {});

}  // namespace playlists
