#pragma once

#include "playlists/station.h"

class Form;

namespace library {

// The stations the name and address lists hold, in list order, without the
// separators between files and with each request (bare address and
// headers) once.
playlists::StationList listedStations(const Form& f);

}  // namespace library
