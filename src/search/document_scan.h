#pragma once

#include <QString>

class Form;

namespace search {

// The browser finished loading a page: every link but the first, then every
// element, is scanned for media addresses and pages to visit; at the end
// Timer9 takes the crawl on. The home page and blank pages are not scanned.
void WebBrowser1_DocumentComplete(Form& f, const QString& url);

}  // namespace search
