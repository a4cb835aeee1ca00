#pragma once

#include <QDateTime>
#include <chrono>

#include "history/line_verdict.h"

namespace history {

// What a line's verdicts add up to, kept beside them.
struct LineSummary {
  QDateTime lastSuccess;  // invalid: never
  QDateTime lastFailure;
  int failuresInRow = 0;
  int successes = 0;
  int failures = 0;
  // Before this time the line is not tried again; invalid once it plays.
  QDateTime retryAfter;
  LineVerdict last;  // the newest verdict

  // Adds a verdict. One older than the newest (merged from elsewhere) only
  // counts; it changes neither the newest, the run of failures nor the
  // retry time. Returns whether it is now the newest.
  bool add(const LineVerdict& verdict);
  bool isDue(const QDateTime& now) const;
  // Successes among the verdicts that played or failed; 0 when none did.
  double successRatio() const;

  bool operator==(const LineSummary&) const = default;
};

// How long a line rests after its n-th failure in a row: a minute, doubling
// with each, at most a day.
std::chrono::milliseconds retryDelay(int failuresInRow);

}  // namespace history
