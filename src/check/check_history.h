#pragma once

#include <QDateTime>
#include <QLatin1StringView>

#include "check/station_checker.h"
#include "history/line_verdict.h"

namespace check {

// A check's result as the health history keeps it.
history::LineVerdict lineVerdictOf(const playlists::Station& station, const CheckResult& result,
                                   const QDateTime& time, QLatin1StringView source);

}  // namespace check
