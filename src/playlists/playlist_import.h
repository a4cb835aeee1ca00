#pragma once

#include <QList>
#include <QString>
#include <QStringList>

#include "playlists/station.h"

namespace playlists {

// An entry of an imported file that did not become a station; line 0 when
// the whole file could not be read.
struct ImportSkip {
  QString file;
  int line = 0;
  QString reason;  // bilingual, one line
};

struct ImportOutcome {
  int added = 0;
  int alreadyThere = 0;  // known by its bare address: in the file, or earlier in the import
  // Stored stations without headers whose address came with headers: their
  // lines now carry them, with the same name at the same place.
  int headersAdded = 0;
  QList<ImportSkip> skipped;
  QString writeError;    // not empty: nothing was added, and this says why (bilingual)
};

// Imports playlist files of any format the readers know into the program
// folder's found-stations file (tv_lib_ss_jg.txt), in one write. The
// command line's import and files dropped on the window both come here.
// An entry with headers for a known address without them gives that line
// (stored or new) its headers; other entries of a known address are left out.
ImportOutcome importPlaylists(const QString& programDir, const QStringList& files);

// Adds stations to the station file target (created when missing) in one
// write, leaving out those whose bare address it holds already.
ImportOutcome addStations(const QString& target, const StationList& stations);

}  // namespace playlists
