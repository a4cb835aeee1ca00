#include "gui/window_program.h"

int main(int argc, char** argv) {
  // Commands that run without a window branch off here, before anything of
  // the window is set up.
  return gui::runWindow(argc, argv);
}
