#pragma once

#include <QString>

namespace channels {

// Whether the window switches a channel's lines by itself: on unless the
// settings file says "line-switching=false" (or off, no, 0) under
// "[channels]".
bool lineSwitchingOn(const QString& programDir);

}  // namespace channels
