#pragma once

#include <QString>

namespace library {

// The outcome of replacing a line's address in a file.
struct [[nodiscard]] Rewrite {
  int replaced = 0;  // places the address stood
  QString error;     // why the file could not be read or written
};

// Replaces the bare address of the station line `from` by that of `to`
// wherever it stands whole in the station file or playlist at path; the
// names, headers, encoding and every other byte stay as they are. One
// atomic write, under the file's lock (textfile::FileLock).
Rewrite replaceAddress(const QString& path, const QString& from, const QString& to);

}  // namespace library
