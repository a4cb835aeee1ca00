#include "playlists/playlist_import.h"

#include <QDir>

#include "library/station_files.h"
#include "playlists/playlist.h"
#include "playlists/station_file.h"

namespace playlists {

ImportOutcome importPlaylists(const QString& programDir, const QStringList& files) {
  ImportOutcome outcome;
  StationList stations;
  for (const QString& file : files) {
    const auto playlist = readPlaylist(file);
    if (!playlist) {
      outcome.skipped.append({file, 0, QStringLiteral("无法读取 / cannot read the file")});
      continue;
    }
    for (const SkippedEntry& s : playlist->skipped) outcome.skipped.append({file, s.line, s.reason});
    stations.append(playlist->stations);
  }
  const QString target = QDir(programDir).filePath(library::kFoundFile);
  const AppendOutcome appended = appendStations(target, stations);
  if (!appended.written) {
    outcome.writeError = QStringLiteral("无法写入 %1 / cannot write %1").arg(target);
    return outcome;
  }
  outcome.added = appended.added;
  outcome.alreadyThere = appended.duplicates;
  return outcome;
}

}  // namespace playlists
