#include "history/set_aside.h"

#include <QFile>

namespace history {

std::optional<QString> setAside(const QString& path, const QDateTime& now) {
  const QString aside =
      path + QStringLiteral(".damaged-") + now.toUTC().toString(QStringLiteral("yyyyMMdd-HHmmss-zzz"));
  // The journal first: one left behind would be read into the new file.
  for (const QString& suffix : {QStringLiteral("-wal"), QStringLiteral("-shm")}) {
    if (QFile::exists(path + suffix) && !QFile::rename(path + suffix, aside + suffix))
      return std::nullopt;
  }
  // Another process may have moved it already.
  if (!QFile::rename(path, aside) && QFile::exists(path)) return std::nullopt;
  return aside;
}

}  // namespace history
