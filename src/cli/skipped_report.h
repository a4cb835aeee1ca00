#pragma once

#include <QList>

#include "playlists/playlist.h"
#include "playlists/playlist_import.h"

namespace cli {

class Console;

// Lists the entries left out (the first few, then a count) and how many
// were left out for each reason, so a large broken file does not flood
// the terminal and still says why.
void reportSkipped(Console& console, const QList<playlists::ImportSkip>& skipped);

// The same for the entries of one file.
void reportSkipped(Console& console, const QString& file,
                   const QList<playlists::SkippedEntry>& skipped);

}  // namespace cli
