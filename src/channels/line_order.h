#pragma once

#include <QDateTime>
#include <QList>

namespace channels {

// What nettv remembers of one line of a channel, as the ranking reads it.
struct LineRecord {
  bool trusted = false;     // from a whitelisted source: first, never left out
  bool checked = false;     // a verdict was ever recorded
  bool lastPlayed = false;  // the last verdict was a success
  QDateTime lastSuccess;    // invalid: never played
  QDateTime lastFailure;    // invalid: never failed
  // The figures of the last success.
  bool flagged = false;       // silent, black or frozen
  qint64 downloadBps = 0;     // bytes in per second, as bits
  qint64 bitrate = 0;         // the stream's own total bitrate, bits per second
  int width = 0;
  int height = 0;
  int firstFrameMs = 0;       // 0: unknown
};

// How a line stands against the others: lower ranks first.
enum class LineStanding {
  Trusted,       // from a whitelisted source
  Working,       // played in its last check
  FailedLongAgo, // failed, and the failure is older than a day
  NeverChecked,
  FailedLately,  // failed within the last day
};

LineStanding standingOf(const LineRecord& line, const QDateTime& now);

// True when a line that failed its last check has not played within the last
// day: output leaves it out unless asked for everything.
bool isStale(const LineRecord& line, const QDateTime& now);

// True when a comes before b: working lines first, then failures older than a
// day, never-checked lines, and fresh failures last; among working lines,
// unflagged before flagged, a download at least the bitrate before a slower
// one, a larger picture, then a shorter time to the first frame.
bool lineBefore(const LineRecord& a, const LineRecord& b, const QDateTime& now);

// The indexes of lines in their order, stable for lines that tie; stale lines
// are left out unless keepStale.
QList<int> orderLines(const QList<LineRecord>& lines, const QDateTime& now, bool keepStale);

}  // namespace channels
