#include "playback/popup_check.h"

#include "form/form.h"

namespace app {

namespace {

// A window title is read into a buffer of this many characters, one of them
// the terminator.
constexpr int kTitleChars = 254;

}  // namespace

void ClosePlayerPopup(Form& f) {
  const QString title = f.host.activePopupTitle().left(kTitleChars).toLower();
  if (title.contains(u"autoupdate") || title.contains(u"contact")) f.host.closeActivePopup();
}

}  // namespace app
