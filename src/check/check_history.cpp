#include "check/check_history.h"

#include "history/line_key.h"

namespace check {

history::LineVerdict lineVerdictOf(const playlists::Station& station, const CheckResult& result,
                                   const QDateTime& time, QLatin1StringView source) {
  history::LineVerdict v;
  v.line = history::lineKey(station.address);
  v.time = time;
  v.outcome = verdictKey(result.outcome);
  v.reason = reasonKey(result.outcome);
  v.httpStatus = result.httpStatus;
  v.firstFrameMs = qMax<qint64>(result.msToMedia, 0);
  const MediaFacts& facts = result.facts;
  v.container = facts.container;
  v.videoCodec = facts.videoCodec;
  v.audioCodec = facts.audioCodec;
  v.width = facts.width;
  v.height = facts.height;
  v.bitrate = facts.bitrate;
  v.downloadSpeed = facts.downloadSpeed;
  v.silent = facts.silent;
  v.black = facts.black;
  v.frozen = facts.frozen;
  v.source = source;
  return v;
}

}  // namespace check
