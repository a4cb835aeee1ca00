#pragma once

#include <QString>

namespace search {

// The search engine a web search starts from. Its page is never scanned and
// never taken from a queue.
inline const QString kSearchHomePage = QStringLiteral("http://www.baidu.com/");

// True for the home page in any form of its address: another scheme (the
// engine redirects to https), letter case or trailing slashes.
bool isSearchHomePage(const QString& address);

}  // namespace search
