#pragma once

#include <QString>

namespace monitor {

// True when a medium of the duration text ("MM:SS" or "H:MM:SS"; "00:00"
// for live streams) is shorter than the minimum, given in minutes as the
// text of Combo1. A duration that cannot be read counts as no length.
bool isShorterThanMinimum(const QString& duration, const QString& minimumMinutes);

}  // namespace monitor
