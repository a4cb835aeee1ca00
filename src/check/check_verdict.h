#pragma once

#include <QString>

#include "check/connection_probe.h"
#include "engines/mpv_failure.h"

namespace check {

// The outcome of testing one station.
enum class Verdict { Playing, Refused, NotFound, TimedOut, UnsupportedFormat };

// The word used in JSON output ("playing", "timed out" ...).
QString verdictKey(Verdict v);
// The word with its Chinese, for the terminal.
QString verdictText(Verdict v);

Verdict verdictOf(LoadFailure failure);
// A probe that settles the station without the engine, or nothing when the
// engine has to decide.
std::optional<Verdict> verdictOf(const ProbeResult& probe);

}  // namespace check
