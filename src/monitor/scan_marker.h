#pragma once

#include <QString>

class Form;

namespace monitor {

// Resolves the address box text before a play: an ordinary address comes
// back unchanged; a marker is advanced to the next candidate, whose address
// is returned. After the last candidate the found stations are reloaded,
// everything is stopped, the user is told, and "" is returned. Logs every
// text it advances in List3.
QString AdvanceScanMarker(Form& f, const QString& text);

}  // namespace monitor
