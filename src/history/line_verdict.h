#pragma once

#include <QDateTime>
#include <QLatin1StringView>
#include <QString>

namespace history {

// The words a verdict's outcome is written in. Playing and failed move a
// line's summary; any other (a refreshed token) is only kept as its newest
// verdict.
namespace outcome {
inline constexpr QLatin1StringView kPlaying{"playing"};
inline constexpr QLatin1StringView kFailed{"failed"};
inline constexpr QLatin1StringView kRefresh{"refresh"};
}  // namespace outcome

// Where a verdict came from.
namespace source {
inline constexpr QLatin1StringView kCheck{"check"};
inline constexpr QLatin1StringView kScan{"scan"};
inline constexpr QLatin1StringView kSearch{"search"};
inline constexpr QLatin1StringView kQuickTest{"quick_test"};
inline constexpr QLatin1StringView kPlay{"play"};
inline constexpr QLatin1StringView kMerge{"merge"};
inline constexpr QLatin1StringView kUpdate{"update"};
}  // namespace source

// What one try of a line found, with the figures it measured; 0 or empty
// where nothing was measured.
struct LineVerdict {
  QString line;  // lineKey() of the station's address
  QDateTime time;  // UTC
  QString outcome;  // outcome::kPlaying …
  QString reason;  // "not_found", "timed_out" …; empty when it plays
  int httpStatus = 0;
  qint64 firstFrameMs = 0;  // time to the first frame
  QString container;
  QString videoCodec;
  QString audioCodec;
  int width = 0;
  int height = 0;
  qint64 bitrate = 0;  // bits per second
  qint64 downloadSpeed = 0;  // bits per second, as measured
  bool silent = false;
  bool black = false;
  bool frozen = false;
  QString source;  // source::kCheck …

  bool operator==(const LineVerdict&) const = default;
};

}  // namespace history
