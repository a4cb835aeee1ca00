#pragma once

#include <QString>
#include <optional>

#include "playlists/station.h"

namespace cli {

struct AppendOutcome {
  int added = 0;
  int duplicates = 0;   // already in the file, or twice in the input
  QString error;  // why the file could not be read or written; empty when it was
};

// Appends stations to a station file (the found-stations file, or check's
// --out) through the window's writer, library::AppendUniqueLine: one write
// for the whole batch. A station whose address is already in the file, or
// earlier in the batch, under the duplicate key is left out.
AppendOutcome appendStations(const QString& path, const playlists::StationList& stations);

// The stations of a station file, read leniently; nothing when the file
// exists but cannot be read; an empty list when it does not exist.
std::optional<playlists::StationList> readStationFile(const QString& path);

}  // namespace cli
