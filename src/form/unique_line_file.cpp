#include "form/unique_line_file.h"

#include <QFileInfo>
#include <QSet>

namespace library {

textfile::WriteResult AppendUniqueLines(const QString& path, const QStringList& lines) {
  const bool exists = QFileInfo::exists(path);
  const auto old = exists ? textfile::read(path) : QString();
  // A file we cannot read is never replaced: that would lose its stations.
  if (!old) return {QStringLiteral("the file cannot be read")};
  QSet<QString> taken;
  QString fresh;
  for (const QString& line : lines) {
    if (line.isEmpty() || old->contains(line) || taken.contains(line)) continue;
    taken.insert(line);
    fresh += line + QStringLiteral("\r\n");
  }
  if (fresh.isEmpty()) return {};
  return exists ? textfile::append(path, fresh) : textfile::write(path, fresh);
}

textfile::WriteResult AppendUniqueLine(const QString& path, const QString& line) {
  return AppendUniqueLines(path, {line});
}

}  // namespace library
