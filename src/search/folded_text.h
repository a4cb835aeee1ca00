#pragma once

#include <QList>
#include <QString>
#include <QStringView>

namespace search {

// A text and a lower-cased copy of the same length, for case-insensitive
// searches whose positions hold in both. Searches go through numbered slots
// that remember their last answer: a slot asked again from a later position
// reuses it, so scanning a text from front to back with a fixed set of
// needles reads the text once per needle.
class FoldedText {
 public:
  // slots: how many slots the searches will use (more are added as needed).
  explicit FoldedText(const QString& text, int slots = 0);

  const QString& text() const { return m_text; }
  const QString& folded() const { return m_folded; }
  qsizetype size() const { return m_text.size(); }

  // Offset of the first occurrence of needle (already lower-cased) at or
  // after from that ends at or before end; -1 when there is none. An empty
  // needle is never found.
  qsizetype find(int slot, QStringView needle, qsizetype from, qsizetype end);
  // The same for an exact-case needle, without a slot.
  qsizetype findExact(QStringView needle, qsizetype from, qsizetype end) const;
  // Offset of the last occurrence of c in [from, end), or -1.
  qsizetype findLast(QChar c, qsizetype from, qsizetype end) const;

 private:
  struct Answer {
    qsizetype from = -1;  // -1: nothing remembered
    qsizetype at = -1;
  };

  QString m_text;
  QString m_folded;
  QList<Answer> m_answers;
};

// Lower-cases text without changing its length.
QString foldCase(const QString& text);
// Offset of the first occurrence of needle in text at or after from, or -1;
// an empty needle is found at from. Fast for short needles with a rare
// character, as the markers are.
qsizetype indexOfMarker(QStringView text, QStringView needle, qsizetype from = 0);

}  // namespace search
