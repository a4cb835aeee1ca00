#pragma once

#include <QString>

class Form;

// The browser's small events. Pages may open no windows and start no
// downloads: the crawl stays in the one browser.
namespace search {

void WebBrowser1_BeforeNavigate2(Form& f, const QString& url);
void WebBrowser1_NewWindow2(Form& f, bool* cancel);
// Cancels the download and lets the crawl go on.
void WebBrowser1_FileDownload(Form& f, bool* cancel);
// A page that failed is skipped: the crawl goes on with the next entry.
void WebBrowser1_NavigateError(Form& f, const QString& url);

}  // namespace search
