#pragma once

#include <QDateTime>
#include <QHash>
#include <QList>
#include <QString>
#include <QStringList>

#include "channels/line_order.h"
#include "history/line_verdict.h"
#include "playlists/name_query.h"
#include "playlists/station.h"

namespace history {
class HealthDb;
}
namespace playlists {
class ChannelNames;
}

namespace channels {

// What the station files tell of a line besides its name and address.
struct LineNote {
  QString group;
  QString logo;  // its tvg-logo address; empty when it names none
};

// The notes of the lines of a program folder's station files, by line key
// (history::lineKey); the first file that lists a line wins.
QHash<QString, LineNote> stationFileNotes(const QString& programDir);

// A line of a channel as the window lists it.
struct TreeLine {
  int entry = -1;  // its index in the name and address lists
  playlists::Station station;
  LineRecord record;
  history::LineVerdict last;  // the newest verdict; no outcome when never tried
};

struct TreeChannel {
  QString name;
  QString logo;  // the first its lines name; empty when none does
  QList<TreeLine> lines;  // best first
  // Its name and the names of its lines, each once, as queries find them.
  QList<playlists::SearchableName> names;
};

struct TreeGroup {
  QString name;  // empty for lines of no group
  QList<TreeChannel> channels;
};

// The window's name and address lists as groups of channels, in the order
// groups and channels first appear, each channel's lines best first by what
// health.db knows of them (lines that failed lately last, never left out).
// Separators between files are left out, and a line listed twice is kept
// once.
QList<TreeGroup> buildChannelTree(const QStringList& names, const QStringList& addresses,
                                  const QHash<QString, LineNote>& notes,
                                  const playlists::ChannelNames& channelNames,
                                  const history::HealthDb& db, const QDateTime& now);

// The same with everything read from the program folder: its station files,
// alias.txt and health.db. Safe to run off the window's thread.
QList<TreeGroup> loadChannelTree(const QString& programDir, const QStringList& names,
                                 const QStringList& addresses, const QDateTime& now);

// The channels of one group a query finds.
struct FoundGroup {
  int group = 0;  // index in the tree
  QList<int> channels;  // found at the start of a name first, each part in tree order
};

// The groups with channels a query finds in any of their names; an empty
// query finds everything.
QList<FoundGroup> findChannels(const QList<TreeGroup>& tree, const playlists::NameQuery& query);

}  // namespace channels
