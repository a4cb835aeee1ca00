#pragma once

#include <QStringView>

namespace textfile {

// Calls onLine(number, line) for every line of text, numbered from 1. CR LF,
// LF and a lone CR each end a line, so files saved by old Mac tools are not
// read as one line. Views, not copies: a playlist of a million lines costs
// no second copy of itself.
template <typename OnLine>
void forEachLine(QStringView text, OnLine&& onLine) {
  int number = 1;
  qsizetype start = 0;
  for (qsizetype i = 0; i < text.size(); ++i) {
    const QChar c = text[i];
    if (c != u'\n' && c != u'\r') continue;
    onLine(number++, text.mid(start, i - start));
    if (c == u'\r' && i + 1 < text.size() && text[i + 1] == u'\n') ++i;
    start = i + 1;
  }
  if (start < text.size()) onLine(number, text.mid(start));
}

}  // namespace textfile
