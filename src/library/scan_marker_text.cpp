#include "library/scan_marker_text.h"

#include <limits>

#include "base/vb_text.h"

namespace library {

namespace {

const QString kHash = QStringLiteral("#");

}  // namespace

std::optional<qint64> readMarkerCounter(const QString& field) {
  const auto number = vb::toNumber(field);
  if (!number) return std::nullopt;
  const double rounded = vb::roundHalfEven(*number);
  if (rounded < std::numeric_limits<qint32>::min() || rounded > std::numeric_limits<qint32>::max())
    return std::nullopt;
  return static_cast<qint64>(rounded);
}

bool isScanMarker(const QString& text) {
  const int p1 = vb::instr(text, kHash);
  return p1 > 0 && vb::instr(p1 + 1, text, kHash) > 0;
}

bool hasNoHash(const QString& text) { return !text.contains(kHash); }

std::optional<int> scanCounter(const QString& text) {
  if (!isScanMarker(text)) return std::nullopt;
  const auto counter = readMarkerCounter(vb::mid(text, 6, static_cast<int>(text.size()) - 6));
  if (!counter) return std::nullopt;
  return static_cast<int>(*counter);
}

}  // namespace library
