#pragma once

#include <QString>
#include <optional>

#include "playlists/station.h"

namespace playlists {

struct AppendOutcome {
  int added = 0;
  int duplicates = 0;   // already in the file, or twice in the input
  bool written = true;  // false: the file could not be read or written
};

// Appends stations to a station file (the found-stations file, or check's
// --out) through the window's writer, library::AppendUniqueLine: one write
// for the whole batch. A station whose bare address is already in the file,
// or earlier in the batch, under the duplicate key is left out: the same
// stream with other headers is the same station.
AppendOutcome appendStations(const QString& path, const StationList& stations);

// The stations of a station file, read leniently; nothing when the file
// exists but cannot be read; an empty list when it does not exist.
std::optional<StationList> readStationFile(const QString& path);

// The station line of a station: name, address and, when it has one, its
// group as the third field, which the window's loader ignores. The line
// without the group stays a prefix, so the window's writers, which look for
// "name,address,", find the station already stored.
QString stationFileLine(const Station& s);

// The key under which a station's address counts as already known.
QString knownAddressKey(const QString& address);

}  // namespace playlists
