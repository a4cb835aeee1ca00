#include "monitor/minimum_length.h"

#include <QStringList>

#include "base/vb_text.h"

namespace monitor {

namespace {

// Seconds of "S", "M:S" or "H:M:S"; 0 when a field is no number.
double durationSeconds(const QString& duration) {
  double seconds = 0;
  for (const QString& field : duration.split(u':')) {
    const auto value = vb::toNumber(field);
    if (!value) return 0;
    seconds = seconds * 60 + *value;
  }
  return seconds;
}

}  // namespace

bool isShorterThanMinimum(const QString& duration, const QString& minimumMinutes) {
  return durationSeconds(duration) < vb::val(minimumMinutes) * 60;
}

}  // namespace monitor
