#include "playlist_fuzzing.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  return fuzzPlaylist(data, size, playlists::PlaylistFormat::TextList);
}
