#pragma once

#include <QString>
#include <QStringList>

#include "base/text_file.h"

namespace library {

// Appends each line and CR LF to the file unless the file's text already
// contains the line (exact substring) or it came earlier in lines; empty
// lines do nothing. A missing file is created. On failure (also when the
// file cannot be read) the file is unchanged.
textfile::WriteResult AppendUniqueLines(const QString& path, const QStringList& lines);
textfile::WriteResult AppendUniqueLine(const QString& path, const QString& line);

}  // namespace library
