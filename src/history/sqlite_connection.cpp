#include "history/sqlite_connection.h"

#include <sqlite3.h>

namespace history {

namespace {

bool isBusy(int rc) {
  const int primary = rc & 0xff;
  return primary == SQLITE_BUSY || primary == SQLITE_LOCKED;
}

}  // namespace

bool isDamage(int rc) {
  const int primary = rc & 0xff;
  return primary == SQLITE_CORRUPT || primary == SQLITE_NOTADB;
}

QString errorText(int rc) { return QString::fromUtf8(sqlite3_errstr(rc)); }

SqlConnection::~SqlConnection() { close(); }

int SqlConnection::open(const QString& path, int busyMs) {
  close();
  const int rc = sqlite3_open_v2(path.toUtf8().constData(), &m_db,
                                 SQLITE_OPEN_READWRITE | SQLITE_OPEN_CREATE | SQLITE_OPEN_NOMUTEX,
                                 nullptr);
  if (rc != SQLITE_OK) {
    close();
    return rc;
  }
  return sqlite3_busy_timeout(m_db, busyMs);
}

void SqlConnection::close() {
  sqlite3_close_v2(m_db);
  m_db = nullptr;
}

void SqlConnection::closeAsIs() {
  if (m_db) sqlite3_db_config(m_db, SQLITE_DBCONFIG_NO_CKPT_ON_CLOSE, 1, nullptr);
  close();
}

bool SqlConnection::isReadOnly() const { return sqlite3_db_readonly(m_db, "main") != 0; }

int SqlConnection::exec(const char* sql) const {
  return sqlite3_exec(m_db, sql, nullptr, nullptr, nullptr);
}

int SqlConnection::writeTransaction(const std::function<int()>& work, int tries) const {
  int rc = SQLITE_OK;
  for (int attempt = 0; attempt < tries; ++attempt) {
    rc = exec("BEGIN IMMEDIATE");
    if (rc == SQLITE_OK) rc = work();
    if (rc == SQLITE_OK) rc = exec("COMMIT");
    if (rc == SQLITE_OK) return rc;
    if (!sqlite3_get_autocommit(m_db)) exec("ROLLBACK");
    if (!isBusy(rc)) return rc;
  }
  return rc;
}


qint64 SqlConnection::lastInsertId() const { return sqlite3_last_insert_rowid(m_db); }

int SqlConnection::changes() const { return sqlite3_changes(m_db); }

SqlStatement::SqlStatement(const SqlConnection& db, QByteArrayView sql)
    : m_prepared(db.isOpen() ? sqlite3_prepare_v2(db.handle(), sql.data(), int(sql.size()),
                                                  &m_stmt, nullptr)
                             : SQLITE_MISUSE) {}

SqlStatement::~SqlStatement() { sqlite3_finalize(m_stmt); }

int SqlStatement::step() { return m_stmt ? sqlite3_step(m_stmt) : m_prepared; }

int SqlStatement::finish() {
  const int rc = step();
  return rc == SQLITE_DONE || rc == SQLITE_ROW ? SQLITE_OK : rc;
}

void SqlStatement::reset() {
  sqlite3_reset(m_stmt);
  sqlite3_clear_bindings(m_stmt);
}

void SqlStatement::bindAt(int index, qint64 value) { sqlite3_bind_int64(m_stmt, index, value); }

void SqlStatement::bindAt(int index, const QString& value) { bindAt(index, value.toUtf8()); }

void SqlStatement::bindAt(int index, const QByteArray& utf8) {
  sqlite3_bind_text(m_stmt, index, utf8.constData(), int(utf8.size()), SQLITE_TRANSIENT);
}

void SqlStatement::bindAt(int index, const QDateTime& value) {
  if (value.isValid())
    bindAt(index, value.toMSecsSinceEpoch());
  else
    sqlite3_bind_null(m_stmt, index);
}

bool SqlStatement::isNull(int column) const {
  return sqlite3_column_type(m_stmt, column) == SQLITE_NULL;
}

qint64 SqlStatement::integer(int column) const { return sqlite3_column_int64(m_stmt, column); }

QString SqlStatement::text(int column) const {
  const auto* utf8 = reinterpret_cast<const char*>(sqlite3_column_text(m_stmt, column));
  return QString::fromUtf8(utf8, sqlite3_column_bytes(m_stmt, column));
}

QDateTime SqlStatement::time(int column) const {
  if (isNull(column)) return {};
  return QDateTime::fromMSecsSinceEpoch(integer(column), Qt::UTC);
}

}  // namespace history
