#include "history/line_key.h"

#include <algorithm>

namespace history {

QString lineKey(const playlists::StationAddress& address) {
  playlists::StationAddress normal = address;
  for (playlists::RequestHeader& header : normal.headers) header.name = header.name.toLower();
  std::stable_sort(normal.headers.begin(), normal.headers.end(),
                   [](const auto& a, const auto& b) { return a.name < b.name; });
  return normal.text();
}

QString lineKey(const QString& stationAddressText) {
  return lineKey(playlists::StationAddress::parse(stationAddressText));
}

}  // namespace history
