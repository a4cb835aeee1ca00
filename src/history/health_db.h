#pragma once

#include <QDateTime>
#include <QHash>
#include <QList>
#include <QString>
#include <QStringList>
#include <functional>
#include <optional>

#include "history/line_summary.h"
#include "history/line_verdict.h"
#include "history/source_state.h"
#include "history/sqlite_connection.h"

namespace history {

// The outcome of opening or writing the history.
struct [[nodiscard]] Result {
  bool ok = false;
  // Why it failed, or what was set aside on the way; empty when all went well.
  QString message;
};

// health.db in the program folder: every verdict on a line for the last 30
// days, a summary per line with the time it may be tried again, and what is
// remembered of subscription sources. The window and several nettv
// processes write it at once. A damaged or foreign file is set aside and a
// new one started; one that cannot be opened leaves a closed history, whose
// writes fail and whose reads find nothing, so callers go on without it.
// One thread at a time uses a history; "now" comes from its clock.
class HealthDb {
 public:
  using Clock = std::function<QDateTime()>;
  static constexpr int kKeepDays = 30;

  explicit HealthDb(Clock clock = &QDateTime::currentDateTimeUtc);

  Result open(const QString& dir);
  bool isOpen() const { return m_db.isOpen(); }
  void close();

  // Verdicts are written whole or not at all; many at once in one
  // transaction.
  Result record(const LineVerdict& verdict);
  Result recordMany(const QList<LineVerdict>& verdicts);

  std::optional<LineSummary> summary(const QString& line) const;
  // The summaries of the lines that have one, by line key, in one query.
  QHash<QString, LineSummary> summaries(const QStringList& lines) const;
  // Whether a line's rest after failures is over (a line never tried is due).
  bool isDue(const QString& line, const QDateTime& now) const;
  // The line's verdicts, oldest first.
  QList<LineVerdict> verdicts(const QString& line) const;

  std::optional<SourceState> source(const QString& address) const;
  Result putSource(const SourceState& state);

 private:
  struct Opening;
  Opening openFile();
  Result replaceDamaged(const QString& why);
  Result write(const std::function<int()>& work);
  int prune();
  int pruneWhenDue();
  int insert(const QList<LineVerdict>& verdicts);

  Clock m_clock;
  QString m_path;
  SqlConnection m_db;
  QDateTime m_pruned;
};

}  // namespace history
