#include "history/health_schema.h"

#include <sqlite3.h>

namespace history::schema {

namespace {

// A line's summary sits beside the line; last_verdict is the id of its
// newest verdict. Times are milliseconds since the epoch, UTC.
constexpr char kTables[] = R"sql(
CREATE TABLE lines(
  id INTEGER PRIMARY KEY,
  key TEXT NOT NULL UNIQUE,
  last_success INTEGER,
  last_failure INTEGER,
  failures_in_row INTEGER NOT NULL DEFAULT 0,
  successes INTEGER NOT NULL DEFAULT 0,
  failures INTEGER NOT NULL DEFAULT 0,
  retry_after INTEGER,
  last_verdict INTEGER);
CREATE TABLE verdicts(
  id INTEGER PRIMARY KEY,
  line INTEGER NOT NULL,
  time INTEGER NOT NULL,
  outcome TEXT NOT NULL,
  reason TEXT NOT NULL,
  http_status INTEGER NOT NULL,
  first_frame_ms INTEGER NOT NULL,
  container TEXT NOT NULL,
  video_codec TEXT NOT NULL,
  audio_codec TEXT NOT NULL,
  width INTEGER NOT NULL,
  height INTEGER NOT NULL,
  bitrate INTEGER NOT NULL,
  download_speed INTEGER NOT NULL,
  flags INTEGER NOT NULL,
  source TEXT NOT NULL);
CREATE INDEX verdicts_by_line ON verdicts(line, time);
CREATE INDEX verdicts_by_time ON verdicts(time);
CREATE TABLE sources(
  address TEXT PRIMARY KEY,
  etag TEXT NOT NULL,
  last_modified TEXT NOT NULL,
  fetched INTEGER,
  result TEXT NOT NULL,
  reason TEXT NOT NULL,
  lines_read INTEGER NOT NULL);
)sql";

}  // namespace

int readKind(const SqlConnection& db, FileKind& kind) {
  SqlStatement read(db,
                    "SELECT application_id, user_version, (SELECT count(*) FROM sqlite_schema) "
                    "FROM pragma_application_id, pragma_user_version");
  const int rc = read.step();
  if (rc != SQLITE_ROW) return rc;
  const qint64 id = read.integer(0);
  const qint64 version = read.integer(1);
  if (id == kApplicationId && version == kVersion)
    kind = FileKind::Current;
  else if (id == kApplicationId && version > kVersion)
    kind = FileKind::Future;
  else if (id == 0 && read.integer(2) == 0)
    kind = FileKind::New;
  else
    kind = FileKind::Foreign;
  return SQLITE_OK;
}

int create(const SqlConnection& db) {
  const int rc = db.exec(kTables);
  if (rc != SQLITE_OK) return rc;
  return db.exec(QByteArray("PRAGMA application_id = " + QByteArray::number(kApplicationId) +
                            "; PRAGMA user_version = " + QByteArray::number(kVersion))
                     .constData());
}

}  // namespace history::schema
