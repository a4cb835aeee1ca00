#pragma once

#include "engines/media_facts.h"

class MpvSession;

// Reads the selected tracks (cover art is no video), the container, the
// bitrate and the detection filters' findings of the session's load.
MediaFacts readMediaFacts(const MpvSession& session);
