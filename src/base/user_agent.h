#pragma once

#include <QByteArray>
#include <QString>

#include "base/settings_file.h"

// The User-Agent the engines, the prober and the browser send when a station
// names none of its own.
namespace useragent {

inline constexpr char kDefault[] = "nettv/5.5";

// The window's settings file in the program folder: "user-agent=" in its
// "[network]" section.
inline const QString kSettingsFile = settings::kFile;
inline constexpr QStringView kSettingsSection = u"network";
inline constexpr QStringView kSettingsKey = u"user-agent";

// The User-Agent the settings file in programDir names, or kDefault. A value
// that could break a request line (CR, LF, NUL) is ignored.
QByteArray fromSettings(const QString& programDir);

// The user's choice, or kDefault when it is empty or unsafe.
QByteArray orDefault(const QString& chosen);

// A command's User-Agent: its --user-agent, else the settings file's.
QByteArray forCommand(const QString& option, const QString& programDir);

}  // namespace useragent
