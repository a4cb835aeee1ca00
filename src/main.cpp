#include <QCoreApplication>
#include <clocale>

#ifdef NETTV_TCMALLOC
#include <gperftools/malloc_extension.h>
#endif

#include "cli/cli_program.h"
#include "gui/window_program.h"

namespace {

// libmpv reads and writes numbers ("0.5") in the C format and refuses to
// start under a locale that writes them otherwise; Qt sets the user's locale
// when the application object is made, so this runs right after that.
void useCNumberFormat() { std::setlocale(LC_NUMERIC, "C"); }

// The media engines allocate and free buffers from a few hundred threads at
// once. glibc shared its arenas among them, and the thread that drives the
// engines waited on arena locks held by decoder threads the kernel had put
// aside (up to 2 s late with 64 engines on two cores, and glibc's heaps kept
// freed decoder buffers). tcmalloc serves each thread from a cache of its
// own; held to 2 MB together, these caches cost less memory than glibc did.
void keepThreadCachesSmall() {
#ifdef NETTV_TCMALLOC
  MallocExtension::instance()->SetNumericProperty("tcmalloc.max_total_thread_cache_bytes",
                                                  2 << 20);
#endif
}

}  // namespace

Q_COREAPP_STARTUP_FUNCTION(useCNumberFormat)

int main(int argc, char** argv) {
  keepThreadCachesSmall();
  // Commands that run without a window branch off here, before anything of
  // the window is set up.
  if (cli::wantsCommand(argc, argv)) return cli::runCommandLine(argc, argv);
  return gui::runWindow(argc, argv);
}
