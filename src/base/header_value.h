#pragma once

#include <QByteArrayView>
#include <algorithm>

namespace headervalue {

// A value that goes into a request as it is: a CR or LF would start a header
// of its own, and a NUL would cut the line short.
inline bool isSafe(QByteArrayView value) {
  return std::none_of(value.begin(), value.end(),
                      [](char c) { return c == '\r' || c == '\n' || c == '\0'; });
}

}  // namespace headervalue
