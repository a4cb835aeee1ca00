#include <QCoreApplication>
#include <clocale>

#include "cli/cli_program.h"
#include "gui/window_program.h"

namespace {

// libmpv reads and writes numbers ("0.5") in the C format and refuses to
// start under a locale that writes them otherwise; Qt sets the user's locale
// when the application object is made, so this runs right after that.
void useCNumberFormat() { std::setlocale(LC_NUMERIC, "C"); }

}  // namespace

Q_COREAPP_STARTUP_FUNCTION(useCNumberFormat)

int main(int argc, char** argv) {
  // Commands that run without a window branch off here, before anything of
  // the window is set up.
  if (cli::wantsCommand(argc, argv)) return cli::runCommandLine(argc, argv);
  return gui::runWindow(argc, argv);
}
