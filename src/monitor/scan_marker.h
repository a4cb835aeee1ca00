#pragma once

#include <QString>
#include <optional>

class Form;

namespace monitor {

// The marker a station scan starts with: "list#", a 7-digit counter, "#".
inline const QString kScanStartMarker = QStringLiteral("list#0000000#");

// True when text holds a "#" and a further "#" after it: a scan is running.
bool isScanMarker(const QString& text);
// True when text holds no "#" at all.
bool hasNoHash(const QString& text);
// The counter of a marker (the characters from position 6 up to the last
// one), or nothing when text holds no readable marker.
std::optional<int> scanCounter(const QString& text);

// Resolves the address box text before a play: an ordinary address comes
// back unchanged; a marker is advanced to the next candidate, whose address
// is returned. After the last candidate the found stations are reloaded,
// everything is stopped, the user is told, and "" is returned. Logs every
// text it advances in List3.
QString AdvanceScanMarker(Form& f, const QString& text);

}  // namespace monitor
