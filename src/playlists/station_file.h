#pragma once

#include <QString>

#include <optional>

#include "playlists/playlist.h"
#include "playlists/station_address.h"
#include "playlists/station.h"

namespace playlists {

// The station line of a station: name, address and, when it has one, its
// group as the third field, which the window's loader ignores. Every
// station line the program writes is made here, whatever its source, with
// the rules of the list readers: names and groups lose control characters
// and take a full-width comma for a comma, a network address has its
// commas percent-encoded. Empty when the address cannot be stored: empty,
// with a control character, or a local path with a comma.
QString stationFileLine(const Station& s);

// The address field of a station line, trimmed; empty when it has none.
QStringView stationLineAddress(QStringView line);

// The key under which a line of a station file counts as already there:
// the requestKey of its address, or the trimmed line itself when it holds
// no station.
QString stationLineKey(QStringView line);

// The key under which a station's address counts as already known: the
// duplicate key of its bare address, so the same stream with other headers
// is the same station.
QString knownAddressKey(const QString& address);


// Reads a station file of the program folder whole; a missing file holds no
// stations. Nothing when the file is there but cannot be read.
std::optional<Playlist> readStationFile(const QString& path, const StationSink& onStation = {});

}  // namespace playlists
