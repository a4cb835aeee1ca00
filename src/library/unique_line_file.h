#pragma once

#include <QString>

namespace library {

// Appends line and CR LF to the file unless the file's text already contains
// line (exact substring). An empty line does nothing. Returns false when the
// file could not be read or written; the file is then unchanged.
bool AppendUniqueLine(const QString& path, const QString& line);

}  // namespace library
