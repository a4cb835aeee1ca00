#pragma once

#include <QString>

namespace search {

// The search engine a web search starts from. Its page is never scanned and
// never taken from a queue.
inline const QString kSearchHomePage = QStringLiteral("http://www.baidu.com/");

}  // namespace search
