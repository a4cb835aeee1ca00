#pragma once

#include "engines/web_engine_browser.h"

namespace cli {

// The web engine browser as a crawl without a window uses it: it also tells
// whether the page it was last sent to has yet to be answered, so the crawl
// knows when nothing more can happen.
class CrawlBrowser : public WebEngineBrowser {
  Q_OBJECT
 public:
  using WebEngineBrowser::WebEngineBrowser;

  void Navigate(const QString& url) override;
  void Stop() override;

  bool awaitingPage() const { return m_awaiting; }
  // The window's handlers for the end of the load have run.
  void pageAnswered() { m_awaiting = false; }

 private:
  bool m_awaiting = false;
};

}  // namespace cli
