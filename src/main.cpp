#include "cli/cli_program.h"
#include "gui/window_program.h"

int main(int argc, char** argv) {
  // Commands that run without a window branch off here, before anything of
  // the window is set up.
  if (cli::wantsCommand(argc, argv)) return cli::runCommandLine(argc, argv);
  return gui::runWindow(argc, argv);
}
