#pragma once

#include <QList>
#include <QString>

#include "playlists/playlist.h"

namespace library {

// What an export of the found stations did.
struct FoundExport {
  enum class Result { Written, ProgramFile, CannotRead, CannotWrite };
  Result result = Result::Written;
  QString source;                          // the found-stations file read
  int stations = 0;                        // the stations written
  QList<playlists::SkippedEntry> skipped;  // entries of the source that are no station
  QString error;                           // why the write failed
};

// True when a write to path would reach a file the program keeps in
// programDir: symbolic links are followed, the file's own too, and the file
// need not exist yet.
bool isProgramFile(const QString& path, const QString& programDir);

// Writes the found stations of programDir to target as an M3U8 other players
// read (group-title, #EXTVLCOPT headers), never over a file the program
// keeps. The command line's export and the window's.
FoundExport exportFoundStations(const QString& programDir, const QString& target);

}  // namespace library
