#pragma once

#include <QString>
#include <QStringList>

#include "base/text_file.h"

namespace library {

// Appends each line and CR LF to the file unless a line of the file, or an
// earlier one of lines, has its stationLineKey: the same request, whatever
// the name. Empty lines do nothing. A missing file is created. The file's
// lock is held from the read to the write. On failure (also when the file
// cannot be read) the file is unchanged.
textfile::WriteResult AppendUniqueLines(const QString& path, const QStringList& lines);
textfile::WriteResult AppendUniqueLine(const QString& path, const QString& line);

}  // namespace library
