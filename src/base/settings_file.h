#pragma once

#include <QString>
#include <QStringView>

// The window's settings file in the program folder, nettv.ini: "key=value"
// lines under "[section]" lines.
namespace settings {

inline const QString kFile = QStringLiteral("nettv.ini");

// The value of key in section, quotes around it removed; "" when the file,
// the section or the key is missing. Read by hand rather than by QSettings:
// browser User-Agents hold ";" and ",", which QSettings would take for a
// comment and a list.
QString value(const QString& programDir, QStringView section, QStringView key);

}  // namespace settings
