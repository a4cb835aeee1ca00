#include "library/unique_line_file.h"

#include <QFileInfo>

#include "base/text_file.h"

namespace library {

bool AppendUniqueLine(const QString& path, const QString& line) {
  if (line.isEmpty()) return true;
  QString content;
  if (QFileInfo::exists(path)) {
    const auto old = textfile::read(path);
    // A file we cannot read is never replaced: that would lose its stations.
    if (!old) return false;
    if (old->contains(line)) return true;
    content = *old;
    // Keep a hand-edited last line whole instead of gluing the entry onto it.
    if (!content.isEmpty() && !content.endsWith(u'\n')) content += QStringLiteral("\r\n");
  }
  return textfile::write(path, content + line + QStringLiteral("\r\n"));
}

}  // namespace library
