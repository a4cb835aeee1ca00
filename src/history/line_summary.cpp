#include "history/line_summary.h"

#include <algorithm>

namespace history {

namespace {

using namespace std::chrono_literals;

constexpr std::chrono::milliseconds kFirstDelay = 1min;
constexpr std::chrono::milliseconds kLongestDelay = 24h;

QDateTime later(const QDateTime& a, const QDateTime& b) {
  return a.isValid() && a > b ? a : b;
}

}  // namespace

std::chrono::milliseconds retryDelay(int failuresInRow) {
  if (failuresInRow <= 0) return 0ms;
  // 2^11 minutes is already past a day: a longer run cannot overflow.
  const int doublings = std::min(failuresInRow - 1, 11);
  return std::min(kFirstDelay * (1 << doublings), kLongestDelay);
}

bool LineSummary::add(const LineVerdict& verdict) {
  const bool played = verdict.outcome == outcome::kPlaying;
  const bool failed = verdict.outcome == outcome::kFailed;
  if (played) {
    ++successes;
    lastSuccess = later(lastSuccess, verdict.time);
  } else if (failed) {
    ++failures;
    lastFailure = later(lastFailure, verdict.time);
  }
  if (last.time.isValid() && verdict.time < last.time) return false;
  last = verdict;
  if (played) {
    failuresInRow = 0;
    retryAfter = {};
  } else if (failed) {
    ++failuresInRow;
    retryAfter = verdict.time.addMSecs(retryDelay(failuresInRow).count());
  }
  return true;
}

bool LineSummary::isDue(const QDateTime& now) const {
  return !retryAfter.isValid() || now >= retryAfter;
}

double LineSummary::successRatio() const {
  const int tries = successes + failures;
  return tries ? double(successes) / tries : 0.0;
}

}  // namespace history
