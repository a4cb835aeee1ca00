#include "cli/token_browser.h"

#include <QDir>

#include "engines/web_engine_browser.h"
#include "form/marker_texts.h"
#include "playlists/station_files.h"

namespace cli {

std::unique_ptr<channels::TokenRefresher> commandRefresher(const QString& dir, Host& host,
                                                           const QByteArray& userAgent) {
  auto browsers = [userAgent]() -> std::unique_ptr<WebBrowser> {
    auto browser = std::make_unique<WebEngineBrowser>();
    browser->setUserAgent(userAgent);
    return browser;
  };
  const MarkerTexts markers = savedMarkerTexts(QDir(dir).filePath(library::kMarkerFile));
  return std::make_unique<channels::TokenRefresher>(browsers, search::MarkerLists(markers), host);
}

}  // namespace cli
