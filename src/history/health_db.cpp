#include "history/health_db.h"

#include <QDir>
#include <QFileInfo>
#include <QJsonArray>
#include <QJsonDocument>
#include <sqlite3.h>

#include "history/health_schema.h"
#include "history/set_aside.h"
#include "playlists/station_files.h"

namespace history {

namespace {

constexpr int kBusyMs = 5000;
// Tries of a write transaction that still finds the file busy after the wait.
constexpr int kWriteTries = 3;
constexpr qint64 kPruneEveryMs = 3600 * 1000;

enum Flag { kSilent = 1, kBlack = 2, kFrozen = 4 };

constexpr char kVerdictColumns[] =
    "time, outcome, reason, http_status, first_frame_ms, container, video_codec, "
    "audio_codec, width, height, bitrate, download_speed, flags, source";

// A line's id, the id of its newest verdict, its key and its summary.
QByteArray selectSummaries(const char* where) {
  return QByteArray("SELECT l.id, l.last_verdict, l.key, l.last_success, l.last_failure, "
                    "l.failures_in_row, l.successes, l.failures, l.retry_after, ") +
         kVerdictColumns + " FROM lines l LEFT JOIN verdicts v ON v.id = l.last_verdict WHERE " +
         where;
}

LineVerdict readVerdict(const SqlStatement& row, int first, const QString& line) {
  const qint64 flags = row.integer(first + 12);
  return {.line = line,
          .time = row.time(first),
          .outcome = row.text(first + 1),
          .reason = row.text(first + 2),
          .httpStatus = int(row.integer(first + 3)),
          .firstFrameMs = row.integer(first + 4),
          .container = row.text(first + 5),
          .videoCodec = row.text(first + 6),
          .audioCodec = row.text(first + 7),
          .width = int(row.integer(first + 8)),
          .height = int(row.integer(first + 9)),
          .bitrate = row.integer(first + 10),
          .downloadSpeed = row.integer(first + 11),
          .silent = (flags & kSilent) != 0,
          .black = (flags & kBlack) != 0,
          .frozen = (flags & kFrozen) != 0,
          .source = row.text(first + 13)};
}

LineSummary readSummary(const SqlStatement& row) {
  return {.lastSuccess = row.time(3),
          .lastFailure = row.time(4),
          .failuresInRow = int(row.integer(5)),
          .successes = int(row.integer(6)),
          .failures = int(row.integer(7)),
          .retryAfter = row.time(8),
          .last = readVerdict(row, 9, row.text(2))};
}

int flagsOf(const LineVerdict& v) {
  return (v.silent ? kSilent : 0) | (v.black ? kBlack : 0) | (v.frozen ? kFrozen : 0);
}

}  // namespace

struct HealthDb::Opening {
  int rc = SQLITE_OK;
  bool damaged = false;
  QString why;
};

HealthDb::HealthDb(Clock clock) : m_clock(std::move(clock)) {}

Result HealthDb::open(const QString& dir) {
  close();
  m_path = QDir(dir).filePath(library::kHealthFile);
  const Opening opening = openFile();
  if (opening.rc == SQLITE_OK) return {true, {}};
  if (opening.damaged) return replaceDamaged(opening.why);
  m_db.close();
  return {false, QStringLiteral("%1 cannot be opened: %2").arg(m_path, opening.why)};
}

void HealthDb::close() { m_db.close(); }

HealthDb::Opening HealthDb::openFile() {
  int rc = m_db.open(m_path, kBusyMs);
  if (rc != SQLITE_OK) return {rc, false, errorText(rc)};
  if (m_db.isReadOnly()) return {SQLITE_READONLY, false, errorText(SQLITE_READONLY)};
  FileKind kind = FileKind::Current;
  rc = m_db.writeTransaction(
      [&] {
        const int read = schema::readKind(m_db, kind);
        return read == SQLITE_OK && kind == FileKind::New ? schema::create(m_db) : read;
      },
      kWriteTries);
  if (rc != SQLITE_OK) return {rc, isDamage(rc), errorText(rc)};
  if (kind == FileKind::Foreign)
    return {SQLITE_NOTADB, true, QStringLiteral("it is another program's database")};
  if (kind == FileKind::Future)
    return {SQLITE_NOTADB, true, QStringLiteral("it was written by a newer nettv")};
  rc = m_db.exec("PRAGMA journal_mode = WAL; PRAGMA synchronous = NORMAL");
  if (rc == SQLITE_OK) rc = m_db.writeTransaction([this] { return prune(); }, kWriteTries);
  return {rc, isDamage(rc), errorText(rc)};
}

Result HealthDb::replaceDamaged(const QString& why) {
  m_db.closeAsIs();
  const std::optional<QString> aside = setAside(m_path, m_clock());
  if (!aside)
    return {false, QStringLiteral("%1 cannot be used (%2) and cannot be moved aside")
                       .arg(m_path, why)};
  const QString notice = QStringLiteral("%1 could not be used (%2): it was moved aside as %3 "
                                        "and a new one was started")
                             .arg(m_path, why, QFileInfo(*aside).fileName());
  const Opening fresh = openFile();
  if (fresh.rc == SQLITE_OK) return {true, notice};
  m_db.close();
  return {false, notice + QStringLiteral(", which cannot be opened: ") + fresh.why};
}

Result HealthDb::write(const std::function<int()>& work) {
  if (!isOpen()) return {false, QStringLiteral("the health history is not open")};
  const auto pruneAndWork = [&] {
    const int rc = pruneWhenDue();
    return rc == SQLITE_OK ? work() : rc;
  };
  int rc = m_db.writeTransaction(pruneAndWork, kWriteTries);
  if (rc == SQLITE_OK) return {true, {}};
  if (!isDamage(rc)) return {false, QStringLiteral("%1: %2").arg(m_path, errorText(rc))};
  const Result fresh = replaceDamaged(errorText(rc));
  if (!fresh.ok) return fresh;
  rc = m_db.writeTransaction(pruneAndWork, kWriteTries);
  if (rc == SQLITE_OK) return fresh;
  return {false, fresh.message + QStringLiteral("; writing it failed: ") + errorText(rc)};
}

// Old verdicts go by their time index; a line goes with its newest verdict.
int HealthDb::prune() {
  m_pruned = m_clock();
  SqlStatement old(m_db, "DELETE FROM verdicts WHERE time < ?1");
  int rc = old.run(m_pruned.addDays(-kKeepDays));
  if (rc != SQLITE_OK || m_db.changes() == 0) return rc;
  SqlStatement orphans(m_db,
                       "DELETE FROM lines WHERE NOT EXISTS "
                       "(SELECT 1 FROM verdicts v WHERE v.id = lines.last_verdict)");
  return orphans.run();
}

int HealthDb::pruneWhenDue() {
  return m_pruned.msecsTo(m_clock()) < kPruneEveryMs ? SQLITE_OK : prune();
}

Result HealthDb::record(const LineVerdict& verdict) { return recordMany({verdict}); }

Result HealthDb::recordMany(const QList<LineVerdict>& verdicts) {
  return write([&] { return insert(verdicts); });
}

int HealthDb::insert(const QList<LineVerdict>& verdicts) {
  SqlStatement find(m_db, selectSummaries("l.key = ?1"));
  SqlStatement addLine(m_db, "INSERT INTO lines(key) VALUES(?1)");
  SqlStatement addVerdict(m_db, QByteArray("INSERT INTO verdicts(line, ") + kVerdictColumns +
                                    ") VALUES(?1, ?2, ?3, ?4, ?5, ?6, ?7, ?8, ?9, ?10, ?11, "
                                    "?12, ?13, ?14, ?15)");
  SqlStatement update(m_db,
                      "UPDATE lines SET last_success = ?2, last_failure = ?3, "
                      "failures_in_row = ?4, successes = ?5, failures = ?6, retry_after = ?7, "
                      "last_verdict = ?8 WHERE id = ?1");
  for (const LineVerdict& v : verdicts) {
    int rc = find.bind(v.line).step();
    if (rc != SQLITE_ROW && rc != SQLITE_DONE) return rc;
    const bool known = rc == SQLITE_ROW;
    LineSummary summary = known ? readSummary(find) : LineSummary{};
    qint64 newest = known ? find.integer(1) : 0;
    if (!known && (rc = addLine.run(v.line)) != SQLITE_OK) return rc;
    const qint64 line = known ? find.integer(0) : m_db.lastInsertId();
    rc = addVerdict.run(line, v.time, v.outcome, v.reason, v.httpStatus, v.firstFrameMs,
                        v.container, v.videoCodec, v.audioCodec, v.width, v.height, v.bitrate,
                        v.downloadSpeed, flagsOf(v), v.source);
    if (rc != SQLITE_OK) return rc;
    if (summary.add(v)) newest = m_db.lastInsertId();
    rc = update.run(line, summary.lastSuccess, summary.lastFailure, summary.failuresInRow,
                    summary.successes, summary.failures, summary.retryAfter, newest);
    if (rc != SQLITE_OK) return rc;
  }
  return SQLITE_OK;
}

std::optional<LineSummary> HealthDb::summary(const QString& line) const {
  SqlStatement find(m_db, selectSummaries("l.key = ?1"));
  if (find.bind(line).step() != SQLITE_ROW) return std::nullopt;
  return readSummary(find);
}

QHash<QString, LineSummary> HealthDb::summaries(const QStringList& lines) const {
  QHash<QString, LineSummary> found;
  found.reserve(lines.size());
  SqlStatement find(m_db, selectSummaries("l.key IN (SELECT value FROM json_each(?1))"));
  find.bind(QJsonDocument(QJsonArray::fromStringList(lines)).toJson(QJsonDocument::Compact));
  while (find.step() == SQLITE_ROW) {
    LineSummary s = readSummary(find);
    const QString line = s.last.line;
    found.emplace(line, std::move(s));
  }
  return found;
}

bool HealthDb::isDue(const QString& line, const QDateTime& now) const {
  const std::optional<LineSummary> s = summary(line);
  return !s || s->isDue(now);
}

QList<LineVerdict> HealthDb::verdicts(const QString& line) const {
  QList<LineVerdict> found;
  SqlStatement find(m_db, QByteArray("SELECT ") + kVerdictColumns +
                              " FROM verdicts WHERE line = (SELECT id FROM lines WHERE key = ?1) "
                              "ORDER BY time, id");
  find.bind(line);
  while (find.step() == SQLITE_ROW) found.append(readVerdict(find, 0, line));
  return found;
}

std::optional<SourceState> HealthDb::source(const QString& address) const {
  SqlStatement find(m_db,
                    "SELECT etag, last_modified, fetched, result, reason, lines_read "
                    "FROM sources WHERE address = ?1");
  if (find.bind(address).step() != SQLITE_ROW) return std::nullopt;
  return SourceState{.address = address,
                     .etag = find.text(0),
                     .lastModified = find.text(1),
                     .fetched = find.time(2),
                     .result = find.text(3),
                     .reason = find.text(4),
                     .linesRead = int(find.integer(5))};
}

Result HealthDb::putSource(const SourceState& s) {
  return write([&] {
    SqlStatement put(m_db,
                     "INSERT OR REPLACE INTO sources(address, etag, last_modified, fetched, "
                     "result, reason, lines_read) VALUES(?1, ?2, ?3, ?4, ?5, ?6, ?7)");
    return put.run(s.address, s.etag, s.lastModified, s.fetched, s.result, s.reason,
                   s.linesRead);
  });
}

}  // namespace history
