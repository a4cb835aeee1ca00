#pragma once

#include <QDateTime>
#include <QString>
#include <optional>

namespace history {

// Moves a database file that cannot be used out of the way, with its -wal
// and -shm files, as "<path>.damaged-<UTC time>", so a new one can start
// under its name and nothing in it is lost. Gives the new path, or nothing
// when the file stays where it was.
std::optional<QString> setAside(const QString& path, const QDateTime& now);

}  // namespace history
