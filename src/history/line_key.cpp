#include "history/line_key.h"

namespace history {

QString lineKey(const playlists::StationAddress& address) { return lineKey(address.text()); }

QString lineKey(const QString& stationAddressText) {
  return playlists::requestKey(stationAddressText);
}

}  // namespace history
