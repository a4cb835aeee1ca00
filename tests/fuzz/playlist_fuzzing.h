#pragma once

#include "base/text_file.h"
#include "fuzz_rig.h"
#include "playlists/playlist.h"
#include "station_oracle.h"

// Reads the input as a playlist of the format, decoded as files are; every
// station it gives must be stored and exported without change.
inline int fuzzPlaylist(const uint8_t* data, size_t size, playlists::PlaylistFormat format) {
  const QString baseDir = QStringLiteral("/lists");
  oracle::expectRoundTrips(
      playlists::parsePlaylist(textfile::decode(fuzzBytes(data, size)), format, baseDir),
      baseDir);
  return 0;
}
