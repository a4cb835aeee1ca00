#pragma once

#include <QByteArray>
#include <QString>
#include <memory>

#include "channels/token_refresher.h"

class Host;

namespace cli {

// The token refresher as the commands use it: the crawl's offscreen browser
// with the commands' User-Agent, and the program folder's marker lists.
std::unique_ptr<channels::TokenRefresher> commandRefresher(const QString& dir, Host& host,
                                                           const QByteArray& userAgent);

}  // namespace cli
