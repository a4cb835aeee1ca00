#include "cli/crawl_browser.h"

namespace cli {

void CrawlBrowser::Navigate(const QString& url) {
  m_awaiting = true;
  WebEngineBrowser::Navigate(url);
}

// A stopped load raises nothing more.
void CrawlBrowser::Stop() {
  m_awaiting = false;
  WebEngineBrowser::Stop();
}

}  // namespace cli
