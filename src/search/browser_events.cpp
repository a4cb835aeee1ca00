#include "search/browser_events.h"

#include "app/form.h"

namespace search {

void WebBrowser1_BeforeNavigate2(Form& f, const QString&) { f.WebBrowser1.setVisible(true); }

void WebBrowser1_NewWindow2(Form&, bool* cancel) {
  if (cancel) *cancel = true;
}

void WebBrowser1_FileDownload(Form&, bool* cancel) {
  if (cancel) *cancel = true;
}

void WebBrowser1_NavigateError(Form& f, const QString&) { f.Timer9.setEnabled(true); }

}  // namespace search
