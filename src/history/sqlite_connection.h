#pragma once

#include <QByteArray>
#include <QDateTime>
#include <QString>
#include <functional>

struct sqlite3;
struct sqlite3_stmt;

namespace history {

// Whether an SQLite result code says the file is no (sound) database.
bool isDamage(int rc);
// SQLite's words for a result code.
QString errorText(int rc);

// One connection to an SQLite file, closed when it goes; used by one thread
// at a time. Calls give SQLite's result codes, so callers can tell a busy
// file from a damaged one.
class SqlConnection {
 public:
  SqlConnection() = default;
  ~SqlConnection();
  SqlConnection(const SqlConnection&) = delete;
  SqlConnection& operator=(const SqlConnection&) = delete;

  // Opens path for reading and writing, creating it when missing. A call
  // that finds the file locked by another connection waits up to busyMs.
  int open(const QString& path, int busyMs);
  void close();
  // Closes without folding the write-ahead log into the file, so a file
  // about to be moved aside keeps its journal as it was.
  void closeAsIs();
  bool isOpen() const { return m_db != nullptr; }
  // SQLite may open a file it cannot write for reading only.
  bool isReadOnly() const;
  // Runs statements that give no rows.
  int exec(const char* sql) const;
  // Runs work (giving SQLITE_OK or an error) in one write transaction and
  // commits it, or rolls it back on an error. The write lock is taken up
  // front, so the busy wait covers the whole transaction; one that is still
  // refused as busy is run again, up to `tries` times.
  int writeTransaction(const std::function<int()>& work, int tries) const;
  qint64 lastInsertId() const;
  int changes() const;
  sqlite3* handle() const { return m_db; }

 private:
  sqlite3* m_db = nullptr;
};

// A prepared statement, finalised when it goes. Times are kept as
// milliseconds since the epoch, an invalid time as NULL.
class SqlStatement {
 public:
  SqlStatement(const SqlConnection& db, QByteArrayView sql);
  ~SqlStatement();
  SqlStatement(const SqlStatement&) = delete;
  SqlStatement& operator=(const SqlStatement&) = delete;

  // Binds the values to ?1, ?2 … after a reset.
  template <typename... Values>
  SqlStatement& bind(const Values&... values) {
    if (!m_stmt) return *this;
    reset();
    int index = 0;
    (bindAt(++index, values), ...);
    return *this;
  }
  // The next row: SQLITE_ROW, SQLITE_DONE, or an error.
  int step();
  // Binds the values and runs a statement that gives no rows: SQLITE_OK or an error.
  template <typename... Values>
  int run(const Values&... values) {
    bind(values...);
    return finish();
  }

  bool isNull(int column) const;
  qint64 integer(int column) const;
  QString text(int column) const;
  QDateTime time(int column) const;

 private:
  void reset();
  int finish();
  void bindAt(int index, qint64 value);
  void bindAt(int index, int value) { bindAt(index, qint64(value)); }
  void bindAt(int index, bool value) { bindAt(index, qint64(value)); }
  void bindAt(int index, const QString& value);
  void bindAt(int index, const QByteArray& utf8);
  void bindAt(int index, const QDateTime& value);

  sqlite3_stmt* m_stmt = nullptr;
  int m_prepared;
};

}  // namespace history
