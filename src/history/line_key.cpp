#include "history/line_key.h"

#include "playlists/station_file.h"

namespace history {

QString lineKey(const playlists::StationAddress& address) { return playlists::requestKey(address); }

QString lineKey(const QString& stationAddressText) { return playlists::requestKey(stationAddressText); }

}  // namespace history
