#pragma once

#include <QStringList>

namespace cli {

// True when the arguments ask for a command rather than the window.
bool wantsCommand(int argc, char** argv);

// Runs the command of the arguments without a window: creates the Qt
// application it needs and returns the exit code.
int runCommandLine(int argc, char** argv);

}  // namespace cli
