#pragma once

#include <QSet>
#include <QString>

#include "cli/command_line.h"
#include "playlists/station.h"

namespace cli {

class Console;

// Groups stations into channels and writes them ranked by the health
// history as `nettv channels` does: --out (a txt channel list, or standard
// output when neither --out nor --m3u is given), --m3u, --json, --keep and
// --all of c; trusted lines (by history::lineKey) go first. Returns the exit
// code.
int writeChannels(const playlists::StationList& stations, const QString& dir, const CommandLine& c,
                  Console& console, const QSet<QString>& trusted = {});

}  // namespace cli
