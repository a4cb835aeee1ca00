#pragma once

#include <QList>
#include <QString>

#include "channels/ranked_channels.h"

namespace channels {

// A Chinese channel list as players that know several lines per channel read
// it: "group,#genre#", then "channel,address" once per line, best first; a
// line's headers stay behind its "|".
QString toTextList(const QList<RankedChannel>& channels);

// An M3U8 of the same lines: each under its channel's name and group, with
// its headers as #EXTVLCOPT and its station's playlist attributes.
QString toM3u(const QList<RankedChannel>& channels);

}  // namespace channels
