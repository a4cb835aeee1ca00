#include "search/folded_text.h"

namespace search {

QString foldCase(const QString& text) {
  QString lower = text.toLower();
  if (lower.size() == text.size()) return lower;
  // A few letters lower-case to two characters; fold them one by one so
  // positions keep their meaning.
  lower = text;
  for (QChar& c : lower) c = c.toLower();
  return lower;
}

namespace {

// Markers are short and mostly letters; their punctuation (":", "=", ".",
// quotes) is rare in pages. Looking for that one character with the
// library's vectorised character search, then comparing the rest, reads a
// page several times faster than a general substring search.
qsizetype indexOfMarker(QStringView text, QStringView needle, qsizetype from) {
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

}  // namespace

FoldedText::FoldedText(const QString& text) : m_text(text), m_folded(foldCase(text)) {}

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
