#include "channels/ranked_channels.h"

#include <climits>

namespace channels {

LineRecord lineRecordOf(const history::LineSummary& summary) {
  LineRecord r;
  r.checked = summary.successes + summary.failures > 0;
  r.lastPlayed = summary.successes > 0 && summary.failuresInRow == 0;
  r.lastSuccess = summary.lastSuccess;
  r.lastFailure = summary.lastFailure;
  const history::LineVerdict& last = summary.last;
  if (!r.lastPlayed || last.outcome != history::outcome::kPlaying) return r;
  r.flagged = last.silent || last.black || last.frozen;
  r.downloadBps = last.downloadSpeed;
  r.bitrate = last.bitrate;
  r.width = last.width;
  r.height = last.height;
  r.firstFrameMs = static_cast<int>(qMin<qint64>(last.firstFrameMs, INT_MAX));
  return r;
}

QList<RankedChannel> rankChannels(const QList<Channel>& channels,
                                  const QHash<QString, history::LineSummary>& summaries,
                                  const QDateTime& now, const RankOptions& options) {
  QList<RankedChannel> ranked;
  for (const Channel& c : channels) {
    QList<LineRecord> records;
    records.reserve(c.lines.size());
    for (const QString& key : c.lineKeys) {
      const auto known = summaries.constFind(key);
      records.append(known == summaries.cend() ? LineRecord{} : lineRecordOf(*known));
      records.last().trusted = options.trusted.contains(key);
    }
    QList<int> order = orderLines(records, now, options.keepStale);
    if (options.keep > 0 && order.size() > options.keep) order.resize(options.keep);
    if (order.isEmpty()) continue;
    RankedChannel out{c.name, c.group, {}};
    for (int i : order) out.lines.append({c.lines[i], records[i], standingOf(records[i], now)});
    ranked.append(out);
  }
  return ranked;
}

QStringList lineKeysOf(const QList<Channel>& channels) {
  QStringList keys;
  for (const Channel& c : channels) keys += c.lineKeys;
  return keys;
}

}  // namespace channels
