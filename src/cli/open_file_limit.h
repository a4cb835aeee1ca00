#pragma once

#include "check/station_checker.h"

namespace cli {

class Console;

// Every probe, held connection and engine takes file descriptors. Raises
// the open-file limit as far as allowed, then lowers the probes (and the
// engines, when even one probe would not fit) to what the limit holds, and
// says so once: a station must never fail for a socket it could not open.
void fitOpenFileLimit(check::CheckLimits& limits, Console& console);

}  // namespace cli
