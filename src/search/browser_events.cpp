#include "search/browser_events.h"

#include "form/form.h"

namespace search {

void WebBrowser1_BeforeNavigate2(Form& f, const QString&) { f.WebBrowser1.setVisible(true); }

void WebBrowser1_NewWindow2(Form&, bool* cancel) {
  if (cancel) *cancel = true;
}

// A queued media address usually arrives as a download: with it refused,
// no page follows, so the crawl goes on from here.
void WebBrowser1_FileDownload(Form& f, bool* cancel) {
  if (cancel) *cancel = true;
  f.Timer9.setEnabled(true);
}

void WebBrowser1_NavigateError(Form& f, const QString&) { f.Timer9.setEnabled(true); }

}  // namespace search
