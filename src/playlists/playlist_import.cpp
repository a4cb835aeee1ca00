#include "playlists/playlist_import.h"

#include <QDir>
#include <QFileInfo>

#include "base/file_lock.h"
#include "base/text_file.h"
#include "playlists/station_files.h"
#include "playlists/key_set.h"
#include "playlists/playlist.h"
#include "playlists/station_file.h"

namespace playlists {

ImportOutcome importPlaylists(const QString& programDir, const QStringList& files) {
  ImportOutcome outcome;
  const QString target = QDir(programDir).filePath(library::kFoundFile);
  // The lists are read first: the found file is locked only while it is read
  // and written, and another process may append to it meanwhile.
  struct Fresh {
    KeySet::Hash key;
    QString line;
  };
  QList<Fresh> fresh;
  KeySet inLists;
  for (const QString& file : files) {
    const auto playlist = readPlaylist(file, [&](Station&& s) {
      const KeySet::Hash key = KeySet::hashOf(knownAddressKey(s.address));
      if (!inLists.add(key)) {
        ++outcome.alreadyThere;
        return;
      }
      // The readers have tidied the station: its line is never empty.
      fresh.append({key, stationFileLine(s)});
    });
    if (!playlist) {
      outcome.skipped.append({file, 0, QStringLiteral("无法读取 / cannot read the file")});
      continue;
    }
    for (const SkippedEntry& s : playlist->skipped) outcome.skipped.append({file, s.line, s.reason});
  }
  const textfile::FileLock lock(target);
  if (!lock) {
    outcome.writeError =
        QStringLiteral("无法写入 %1：%2 / cannot write %1: %2").arg(target, lock.error());
    return outcome;
  }
  KeySet listed;
  if (!readStationFile(target, [&listed](Station&& s) { listed.add(knownAddressKey(s.address)); })) {
    outcome.writeError = QStringLiteral("无法读取 %1 / cannot read %1").arg(target);
    return outcome;
  }
  QString lines;
  int added = 0;
  for (const Fresh& f : std::as_const(fresh)) {
    if (listed.contains(f.key)) {
      ++outcome.alreadyThere;
      continue;
    }
    lines += f.line + QStringLiteral("\r\n");
    ++added;
  }
  if (lines.isEmpty()) return outcome;
  // The lines are new by their keys already: written as they are, in one go.
  const auto written = QFileInfo::exists(target) ? textfile::append(target, lines)
                                                 : textfile::write(target, lines);
  if (!written) {
    outcome.writeError =
        QStringLiteral("无法写入 %1：%2 / cannot write %1: %2").arg(target, written.error);
    return outcome;
  }
  outcome.added = added;
  return outcome;
}

}  // namespace playlists
