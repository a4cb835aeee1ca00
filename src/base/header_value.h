#pragma once

#include <QByteArrayView>
#include <algorithm>

namespace headervalue {

// A value that goes into a request as it is: a CR or LF would start a header
// of its own, a NUL would cut the line short, and servers and proxies treat
// other control characters (VT, FF, ESC, DEL) in as many ways as there are
// of them. A tab is ordinary white space in a value.
inline bool isSafe(QByteArrayView value) {
  return std::none_of(value.begin(), value.end(), [](char c) {
    const auto byte = static_cast<unsigned char>(c);
    return (byte < 0x20 && byte != '\t') || byte == 0x7f;
  });
}

}  // namespace headervalue
