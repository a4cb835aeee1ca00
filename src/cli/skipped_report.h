#pragma once

#include <QString>

#include "playlists/playlist.h"

namespace cli {

class Console;

// Lists the entries a playlist left out (the first few, then a count), so
// a large broken file does not flood the terminal.
void reportSkipped(Console& console, const QString& file, const QList<playlists::SkippedEntry>& skipped);

}  // namespace cli
