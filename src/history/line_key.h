#pragma once

#include <QString>

#include "playlists/station_address.h"

namespace history {

// The key a line's history is kept under: the bare address, then "|" and its
// request headers with names in lower case, ordered by name. Two station
// texts that send the same request give the same key; a line without
// headers is keyed by its bare address alone.
QString lineKey(const playlists::StationAddress& address);
QString lineKey(const QString& stationAddressText);

}  // namespace history
