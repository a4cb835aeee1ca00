#pragma once

#include <QDateTime>

#include "history/line_verdict.h"

#include <QElapsedTimer>
#include <QJsonObject>
#include <QMap>
#include <QString>

#include "check/station_checker.h"
#include "playlists/station.h"

namespace cli {

class Console;

// One station's line for people: index, verdict or reason, time to media,
// evidence, name and address.
QString resultLine(int index, const playlists::Station& station, const check::CheckResult& result);
// The same as one JSON object (index counts from 1 over the whole list).
QJsonObject resultJson(int index, const playlists::Station& station, const check::CheckResult& result);
QString compact(const QJsonObject& o);
// The outcome a results line records: its reason, or bad media when it names
// none that is known; nothing when the line holds no verdict and address.
std::optional<check::Outcome> outcomeOfJson(const QJsonObject& o);
// A result line as the health history keeps it, judged at time.
history::LineVerdict lineVerdictOfJson(const QJsonObject& o, const QDateTime& time,
                                       QLatin1StringView source);

// How many stations ended with each outcome.
using OutcomeTally = QMap<check::Outcome, int>;
// The closing table: one row per outcome that occurred, then the total.
QString summaryTable(const OutcomeTally& tally);

// The progress of a check on standard error: on a terminal one line
// rewritten in place (at most ten times a second) with done/total, passing,
// rate and time left; elsewhere a plain line every tenth of the list.
class CheckProgress {
 public:
  CheckProgress(Console& console, int total);
  void update(int done, int playing);
  void end();

 private:
  Console& m_console;
  int m_total;
  int m_lastTenth = -1;
  QElapsedTimer m_clock;
  QElapsedTimer m_sinceDraw;
};

}  // namespace cli
