#pragma once

#include <QDateTime>
#include <QHash>
#include <QList>
#include <QSet>

#include "channels/channel_grouping.h"
#include "channels/line_order.h"
#include "history/line_summary.h"

namespace channels {

struct RankedLine {
  playlists::Station station;
  LineRecord record;
  LineStanding standing = LineStanding::NeverChecked;
};

struct RankedChannel {
  QString name;
  QString group;
  QList<RankedLine> lines;  // best first
};

struct RankOptions {
  int keep = 0;            // lines per channel at most; 0: all
  bool keepStale = false;  // lines that failed and have not played within a day
  QSet<QString> trusted;   // line keys ranked first whatever their history
};

// What the history says of a line, as its ranking reads it.
LineRecord lineRecordOf(const history::LineSummary& summary);

// Each channel's lines in their order, the figures behind it beside each.
// summaries holds the history by line key (history::lineKey); a line it does
// not hold was never checked. A channel left without lines is left out.
QList<RankedChannel> rankChannels(const QList<Channel>& channels,
                                  const QHash<QString, history::LineSummary>& summaries,
                                  const QDateTime& now, const RankOptions& options);

// Every line's key, for asking the history once.
QStringList lineKeysOf(const QList<Channel>& channels);

}  // namespace channels
