#pragma once

#include "engines/media_facts.h"

class MpvSession;

// The labels under which a checking engine's detection filters report.
namespace mpvfilters {
inline constexpr char kSilence[] = "silence";
inline constexpr char kBlack[] = "black";
inline constexpr char kFreeze[] = "freeze";
}  // namespace mpvfilters

// Reads the selected tracks (cover art is no video), the container, the
// bitrate and the detection filters' findings of the session's load.
MediaFacts readMediaFacts(const MpvSession& session);
