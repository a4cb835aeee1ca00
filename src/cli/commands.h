#pragma once

#include <QString>

#include "cli/command_line.h"

namespace cli {

class Console;

// Each command runs in the program folder dir (already resolved) and
// returns its exit code. The Qt application object must exist; scan and
// crawl need the web engine set up before it was created.
int runScan(const CommandLine& c, const QString& dir, Console& console);
int runCrawl(const CommandLine& c, const QString& dir, Console& console);
int runCheck(const CommandLine& c, const QString& dir, Console& console);
int runImport(const CommandLine& c, const QString& dir, Console& console);
int runExport(const CommandLine& c, const QString& dir, Console& console);

}  // namespace cli
