#pragma once

#include <QString>

// The window's own tooltip for a control the procedures give none, by the
// control's name; "" for the others.
QString viewToolTip(const QString& controlName);
