#pragma once

#include "history/sqlite_connection.h"

namespace history {

// What a file opened as health.db turned out to be.
enum class FileKind {
  New,  // no tables yet: an empty or brand-new file
  Current,  // ours, at the schema this build writes
  Future,  // ours, from a newer build
  Foreign,  // another program's database
};

// The schema of health.db. Versions live in PRAGMA user_version, so a later
// build can migrate what an older one wrote; PRAGMA application_id marks the
// file as ours.
namespace schema {

inline constexpr int kApplicationId = 0x6e747668;  // "ntvh"
inline constexpr int kVersion = 1;

// Reads what the file is; inside a transaction, so a file another process is
// creating is seen whole or not at all. Gives SQLite's result code.
int readKind(const SqlConnection& db, FileKind& kind);
// Creates the tables in a new file.
int create(const SqlConnection& db);

}  // namespace schema

}  // namespace history
