#include "history/verdict_batch.h"

#include "history/health_db.h"

namespace history {

void VerdictBatch::add(LineVerdict verdict) {
  if (!m_db) return;
  m_held.append(std::move(verdict));
  if (m_held.size() >= m_size) flush();
}

void VerdictBatch::flush() {
  if (!m_db || m_held.isEmpty()) return;
  const Result written = m_db->recordMany(m_held);
  if (!written.ok && m_error.isEmpty()) m_error = written.message;
  m_held.clear();
}

}  // namespace history
