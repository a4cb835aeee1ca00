#pragma once

#include <QString>

#include "cli/command_line.h"
#include "engines/check_player.h"
#include "engines/mpv_session.h"
#include "engines/web_engine_browser.h"

namespace cli {

class Console;

// Each command runs in the program folder dir (already resolved) and
// returns its exit code. The Qt application object must exist; scan and
// crawl need the web engine set up before it was created. The players' and
// the browser's time limits are the window's unless given.
int runScan(const CommandLine& c, const QString& dir, Console& console,
            const MpvOptions& players = {});
int runCrawl(const CommandLine& c, const QString& dir, Console& console,
             int pageTimeLimitMs = WebEngineBrowser::kDefaultLoadTimeLimitMs);
// check uses the libmpv checking engine unless given other players.
int runCheck(const CommandLine& c, const QString& dir, Console& console,
             const CheckPlayerFactory& players = {});
int runMerge(const CommandLine& c, const QString& dir, Console& console);
int runImport(const CommandLine& c, const QString& dir, Console& console);
int runExport(const CommandLine& c, const QString& dir, Console& console);
int runChannels(const CommandLine& c, const QString& dir, Console& console);
int runUpdate(const CommandLine& c, const QString& dir, Console& console);
// play runs until --for seconds of good play or until every line failed.
int runPlay(const CommandLine& c, const QString& dir, Console& console);

}  // namespace cli
