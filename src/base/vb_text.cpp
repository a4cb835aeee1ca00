#include "base/vb_text.h"

#include <cmath>

namespace vb {

int instr(int start, const QString& text, const QString& find, Qt::CaseSensitivity cs) {
  if (start < 1 || start > text.size() + 1) return 0;
  if (find.isEmpty()) return start;
  return static_cast<int>(text.indexOf(find, start - 1, cs)) + 1;
}

int instrRev(const QString& text, const QString& find, int start) {
  if (start == -1) start = static_cast<int>(text.size());
  if (start < 1) return 0;
  const qsizetype from = start - static_cast<qsizetype>(find.size());
  if (from < 0) return 0;
  return static_cast<int>(text.lastIndexOf(find, from)) + 1;
}

QString mid(const QString& text, int start, int len) {
  if (start < 1 || start > text.size()) return {};
  return len < 0 ? text.mid(start - 1) : text.mid(start - 1, len);
}

QString left(const QString& text, int len) { return len <= 0 ? QString() : text.left(len); }

QString right(const QString& text, int len) { return len <= 0 ? QString() : text.right(len); }

QString trim(const QString& text) {
  qsizetype b = 0, e = text.size();
  while (b < e && text.at(b) == u' ') ++b;
  while (e > b && text.at(e - 1) == u' ') --e;
  return text.mid(b, e - b);
}

double val(const QString& text) {
  QString digits;
  bool seenDigit = false, seenPoint = false, seenExp = false;
  for (const QChar c : text) {
    if (c == u' ' || c == u'\t' || c == u'\n' || c == u'\r') continue;
    const QChar prev = digits.isEmpty() ? QChar() : digits.back();
    if (c.isDigit() && c.unicode() < 128) {
      digits += c;
      seenDigit = true;
    } else if ((c == u'-' || c == u'+') && (digits.isEmpty() || prev == u'e')) {
      digits += c;
    } else if (c == u'.' && !seenPoint && !seenExp) {
      digits += c;
      seenPoint = true;
    } else if ((c == u'e' || c == u'E') && seenDigit && !seenExp) {
      digits += u'e';
      seenExp = true;
    } else {
      break;
    }
  }
  while (!digits.isEmpty() && !digits.back().isDigit()) digits.chop(1);
  bool ok = false;
  const double v = digits.toDouble(&ok);
  return ok && std::isfinite(v) ? v : 0.0;
}

double roundHalfEven(double value) { return std::nearbyint(value); }

std::optional<double> toNumber(const QString& text) {
  const QString t = text.trimmed();
  bool ok = false;
  const double v = t.toDouble(&ok);
  if (!ok || !std::isfinite(v)) return std::nullopt;
  return v;
}

}  // namespace vb
