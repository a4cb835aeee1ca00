#include "library/unique_line_file.h"

#include <QFileInfo>

#include "base/text_file.h"

namespace library {

bool AppendUniqueLine(const QString& path, const QString& line) {
  if (line.isEmpty()) return true;
  const QString lineEnd = QStringLiteral("\r\n");
  if (!QFileInfo::exists(path)) return textfile::write(path, line + lineEnd);
  const auto old = textfile::read(path);
  // A file we cannot read is never replaced: that would lose its stations.
  if (!old) return false;
  if (old->contains(line)) return true;
  // Keep a hand-edited last line whole instead of gluing the entry onto it.
  const bool openLastLine = !old->isEmpty() && !old->endsWith(u'\n');
  return textfile::append(path, (openLastLine ? lineEnd : QString()) + line + lineEnd);
}

}  // namespace library
