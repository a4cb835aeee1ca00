#pragma once

#include <QString>
#include <optional>

// Text helpers that count the way the window's procedures do: positions start
// at 1 and 0 means "not found".
namespace vb {

// Position of find in text, searching from the 1-based position start.
int instr(int start, const QString& text, const QString& find,
          Qt::CaseSensitivity cs = Qt::CaseSensitive);
inline int instr(const QString& text, const QString& find,
                 Qt::CaseSensitivity cs = Qt::CaseSensitive) {
  return instr(1, text, find, cs);
}
// Position of the last occurrence of find at or before the 1-based position
// start (the whole text when start is -1).
int instrRev(const QString& text, const QString& find, int start = -1);
// len characters from the 1-based position start (all when len is -1).
QString mid(const QString& text, int start, int len = -1);
QString left(const QString& text, int len);
QString right(const QString& text, int len);
// Removes leading and trailing spaces only (not tabs or line ends).
QString trim(const QString& text);
// The leading numeric value: digits, sign, point and exponent from the start,
// spaces inside ignored; 0 when the text does not begin with a number.
double val(const QString& text);
// Rounds halves to the even neighbour.
double roundHalfEven(double value);
// Reads a whole number from text, as a numeric conversion would; nothing
// when the text is not a number.
std::optional<double> toNumber(const QString& text);

}  // namespace vb
