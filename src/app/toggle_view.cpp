#include "app/toggle_view.h"

#include "form/form.h"

namespace app {

namespace {
constexpr int kListHeightCompact = 5300;
constexpr int kListHeightTall = 6800;
}  // namespace

void ToggleView(Form& f, const Control& clicked) {
  if (&clicked == &f.Frame1) f.form1.setWidth(kCompactWidth);
  f.dz1.setVisible(true);
  if (f.form1.height() == kTallHeight) {
    f.form1.setHeight(kCompactHeight);
    f.form1.setWidth(kCompactWidth);
    f.List3.setHeight(kListHeightCompact);
    f.l.setVisible(false);
    if (&clicked == &f.Label3) f.Text1.setVisible(false);
  } else {
    f.form1.setHeight(kTallHeight);
    if (f.WebBrowser1.visible()) f.form1.setWidth(kWideWidth);
    f.List3.setHeight(kListHeightTall);
    f.dz1.setVisible(true);
    f.Text1.setVisible(true);
    f.l.setVisible(true);
  }
  f.Command2.setFocus();
}

}  // namespace app
