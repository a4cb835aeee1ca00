#include "channels/line_order.h"

#include <algorithm>
#include <limits>
#include <tuple>

namespace channels {

namespace {

constexpr qint64 kDaySeconds = 24 * 60 * 60;

bool withinDay(const QDateTime& time, const QDateTime& now) {
  return time.isValid() && time.secsTo(now) < kDaySeconds;
}

// A line that delivers less than its bitrate stutters however fast it starts;
// an unknown speed or bitrate is not held against it.
bool keepsUp(const LineRecord& line) {
  return line.downloadBps <= 0 || line.bitrate <= 0 || line.downloadBps >= line.bitrate;
}

// Larger is better for every field; an unknown first frame counts as slowest.
auto workingKey(const LineRecord& line) {
  const int firstFrame = line.firstFrameMs > 0 ? line.firstFrameMs : std::numeric_limits<int>::max();
  return std::make_tuple(!line.flagged, keepsUp(line),
                         qint64(line.width) * line.height, -qint64(firstFrame));
}

}  // namespace

LineStanding standingOf(const LineRecord& line, const QDateTime& now) {
  if (line.trusted) return LineStanding::Trusted;
  if (!line.checked) return LineStanding::NeverChecked;
  if (line.lastPlayed) return LineStanding::Working;
  return withinDay(line.lastFailure, now) ? LineStanding::FailedLately
                                          : LineStanding::FailedLongAgo;
}

bool isStale(const LineRecord& line, const QDateTime& now) {
  return !line.trusted && line.checked && !line.lastPlayed && !withinDay(line.lastSuccess, now);
}

bool lineBefore(const LineRecord& a, const LineRecord& b, const QDateTime& now) {
  const LineStanding sa = standingOf(a, now);
  const LineStanding sb = standingOf(b, now);
  if (sa != sb) return sa < sb;
  return sa == LineStanding::Working && workingKey(a) > workingKey(b);
}

QList<int> orderLines(const QList<LineRecord>& lines, const QDateTime& now, bool keepStale) {
  QList<int> order;
  for (int i = 0; i < lines.size(); ++i)
    if (keepStale || !isStale(lines[i], now)) order.append(i);
  std::stable_sort(order.begin(), order.end(),
                   [&](int a, int b) { return lineBefore(lines[a], lines[b], now); });
  return order;
}

}  // namespace channels
