#include "library/listed_stations.h"

#include <QSet>

#include "form/form.h"
#include "playlists/station_files.h"
#include "playlists/station_file.h"

namespace library {

playlists::StationList listedStations(const Form& f) {
  playlists::StationList stations;
  QSet<QString> seen;
  const int count = qMin(f.tvm.count(), f.dz1.count());
  for (int i = 0; i < count; ++i) {
    const QString address = f.dz1.item(i);
    if (address == kSeparator || address.trimmed().isEmpty()) continue;
    // The same bare address with other headers is another request, often
    // the one that plays.
    const QString key = playlists::requestKey(address);
    if (seen.contains(key)) continue;
    seen.insert(key);
    stations.append({f.tvm.item(i), address, QString()});
  }
  return stations;
}

}  // namespace library
