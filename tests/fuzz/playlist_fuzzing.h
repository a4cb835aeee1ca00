#pragma once

#include "base/text_file.h"
#include "fuzz_rig.h"
#include "playlists/playlist.h"

// Reads the input as a playlist of the format, decoded as files are.
inline int fuzzPlaylist(const uint8_t* data, size_t size, playlists::PlaylistFormat format) {
  playlists::parsePlaylist(textfile::decode(fuzzBytes(data, size)), format, "/lists");
  return 0;
}
