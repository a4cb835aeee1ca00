#include "form/unique_line_file.h"

#include <QFileInfo>

#include "base/file_lock.h"
#include "base/text_lines.h"
#include "playlists/key_set.h"
#include "playlists/station_file.h"

namespace library {

textfile::WriteResult AppendUniqueLines(const QString& path, const QStringList& lines) {
  const textfile::FileLock lock(path);
  if (!lock) return {lock.error()};
  const bool exists = QFileInfo::exists(path);
  const auto old = exists ? textfile::read(path) : QString();
  // A file we cannot read is never replaced: that would lose its stations.
  if (!old) return {QStringLiteral("the file cannot be read")};
  playlists::KeySet known;
  textfile::forEachLine(*old, [&known](int, QStringView line) {
    known.add(playlists::stationLineKey(line));
  });
  QString fresh;
  for (const QString& line : lines) {
    if (line.isEmpty() || !known.add(playlists::stationLineKey(line))) continue;
    fresh += line + QStringLiteral("\r\n");
  }
  if (fresh.isEmpty()) return {};
  return exists ? textfile::append(path, fresh) : textfile::write(path, fresh);
}

textfile::WriteResult AppendUniqueLine(const QString& path, const QString& line) {
  return AppendUniqueLines(path, {line});
}

}  // namespace library
