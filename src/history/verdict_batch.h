#pragma once

#include <QList>
#include <QString>

#include "history/line_verdict.h"

namespace history {

class HealthDb;

// Gathers verdicts and writes them in one transaction per batch: a check
// judges thousands of lines, and one transaction per line would cost a
// file sync each. Writes what it holds when destroyed.
class VerdictBatch {
 public:
  explicit VerdictBatch(HealthDb* db, int size = 200) : m_db(db), m_size(size) {}
  VerdictBatch(const VerdictBatch&) = delete;
  VerdictBatch& operator=(const VerdictBatch&) = delete;
  ~VerdictBatch() { flush(); }

  void add(LineVerdict verdict);
  // Writes what is held; the first failure's message stays in error().
  void flush();
  const QString& error() const { return m_error; }

 private:
  HealthDb* m_db;  // null: no history is kept
  int m_size;
  QList<LineVerdict> m_held;
  QString m_error;
};

}  // namespace history
