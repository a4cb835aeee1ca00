#pragma once

#include <QJsonObject>
#include <QString>

#include "channels/line_event.h"

namespace cli {

// What nettv play prints for an event: the status line's text and the
// line's address, or one JSON object.
QString eventLine(const channels::LineEvent& e);
QJsonObject eventJson(const channels::LineEvent& e);

}  // namespace cli
