#pragma once

#include <QString>
#include <QtGlobal>
#include <optional>

namespace library {

// While a station scan runs, the address box holds its marker instead of an
// address; the lists read it to leave a running scan alone.

// The marker a station scan starts with: "list#", a 7-digit counter, "#".
inline const QString kScanStartMarker = QStringLiteral("list#0000000#");

// True when text holds a "#" and a further "#" after it: a scan is running.
bool isScanMarker(const QString& text);
// True when text holds no "#" at all.
bool hasNoHash(const QString& text);
// The counter of a marker (the characters from position 6 up to the last
// one), or nothing when text holds no readable marker.
std::optional<int> scanCounter(const QString& text);
// A marker's counter field as a whole number; nothing when the field is no
// number or does not fit 32 bits.
std::optional<qint64> readMarkerCounter(const QString& field);

}  // namespace library
