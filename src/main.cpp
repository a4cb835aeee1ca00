#include <malloc.h>

#include <QCoreApplication>
#include <clocale>

#include "cli/cli_program.h"
#include "gui/window_program.h"

namespace {

// libmpv reads and writes numbers ("0.5") in the C format and refuses to
// start under a locale that writes them otherwise; Qt sets the user's locale
// when the application object is made, so this runs right after that.
void useCNumberFormat() { std::setlocale(LC_NUMERIC, "C"); }

// The media engines allocate and free many buffers of a few hundred KB
// from many threads. After the first such free glibc would raise its mmap
// threshold and keep later ones in its heaps, where freed memory stays with
// the process: tens of MB per engine. A fixed threshold hands every large
// buffer back to the system when it is freed.
void returnLargeBuffers() { mallopt(M_MMAP_THRESHOLD, 128 * 1024); }

}  // namespace

Q_COREAPP_STARTUP_FUNCTION(useCNumberFormat)

int main(int argc, char** argv) {
  returnLargeBuffers();
  // Commands that run without a window branch off here, before anything of
  // the window is set up.
  if (cli::wantsCommand(argc, argv)) return cli::runCommandLine(argc, argv);
  return gui::runWindow(argc, argv);
}
