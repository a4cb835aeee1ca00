#pragma once

#include <QString>

#include "playlists/station.h"

namespace playlists {

// An M3U8 playlist other players read: #EXTINF with the station's group as
// group-title, the Referer, User-Agent and Origin as #EXTVLCOPT lines, other
// headers as the "|" suffix of the address line.
QString toM3u8(const StationList& stations);

}  // namespace playlists
