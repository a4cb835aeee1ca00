#include "search/folded_text.h"

namespace search {

namespace {

bool isAsciiUpper(char16_t c) { return c >= u'A' && c <= u'Z'; }

// Lower-cases letter by letter: a few letters lower-case to two characters
// as a whole string, which would move every later position.
QString foldEachLetter(const QString& text) {
  QString lower = text.toLower();
  if (lower.size() == text.size()) return lower;
  lower = text;
  for (QChar& c : lower) c = c.toLower();
  return lower;
}

}  // namespace

QString foldCase(const QString& text) {
  // Addresses and markup are mostly lower-case ASCII: such a text is its own
  // folded form, shared rather than copied.
  qsizetype i = 0;
  for (; i < text.size(); ++i) {
    const char16_t c = text.at(i).unicode();
    if (c >= 0x80) return foldEachLetter(text);
    if (isAsciiUpper(c)) break;
  }
  if (i == text.size()) return text;
  QString lower = text;
  for (char16_t* p = reinterpret_cast<char16_t*>(lower.data()) + i, *e = p + (lower.size() - i); p < e; ++p) {
    if (*p >= 0x80) return foldEachLetter(text);
    if (isAsciiUpper(*p)) *p += u'a' - u'A';
  }
  return lower;
}

// Markers are short and mostly letters; their punctuation (":", "=", ".",
// quotes) is rare in pages. Looking for that one character with the
// library's vectorised character search, then comparing the rest, reads a
// page several times faster than a general substring search.
qsizetype indexOfMarker(QStringView text, QStringView needle, qsizetype from) {
  if (needle.isEmpty()) return from <= text.size() ? from : -1;
  qsizetype anchor = 0;
  while (anchor < needle.size() && needle[anchor].isLetterOrNumber()) ++anchor;
  if (anchor == needle.size()) anchor = 0;
  const QChar c = needle[anchor];
  for (qsizetype at = from + anchor; (at = text.indexOf(c, at)) >= 0; ++at) {
    const qsizetype start = at - anchor;
    if (start + needle.size() > text.size()) return -1;
    if (text.sliced(start, needle.size()) == needle) return start;
  }
  return -1;
}

FoldedText::FoldedText(const QString& text, int slots)
    : m_text(text), m_folded(foldCase(text)), m_answers(slots) {}

qsizetype FoldedText::find(int slot, QStringView needle, qsizetype from, qsizetype end) {
  if (needle.isEmpty() || from < 0) return -1;
  if (slot >= m_answers.size()) m_answers.resize(slot + 1);
  Answer& a = m_answers[slot];
  const bool reusable = a.from >= 0 && from >= a.from && (a.at < 0 || from <= a.at);
  if (!reusable) {
    a.from = from;
    a.at = from < m_folded.size() ? indexOfMarker(m_folded, needle, from) : -1;
  }
  // The first occurrence after from is the only candidate: any later one
  // ends later still.
  return (a.at >= 0 && a.at + needle.size() <= end) ? a.at : -1;
}

qsizetype FoldedText::findExact(QStringView needle, qsizetype from, qsizetype end) const {
  if (from < 0 || end > m_text.size() || from + needle.size() > end) return -1;
  const qsizetype at = QStringView(m_text).sliced(from, end - from).indexOf(needle);
  return at < 0 ? -1 : from + at;
}

qsizetype FoldedText::findLast(QChar c, qsizetype from, qsizetype end) const {
  if (from < 0 || end > m_text.size() || from >= end) return -1;
  const qsizetype at = QStringView(m_text).sliced(from, end - from).lastIndexOf(c);
  return at < 0 ? -1 : from + at;
}

}  // namespace search
