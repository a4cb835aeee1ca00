#pragma once

#include <QString>

#include "playlists/station_address.h"

namespace history {

// The key a line's history is kept under: the request it makes
// (playlists::requestKey), so two station texts that send the same request
// share one history.
QString lineKey(const playlists::StationAddress& address);
QString lineKey(const QString& stationAddressText);

}  // namespace history
