#include "base/user_agent.h"

#include "base/header_value.h"
#include "base/settings_file.h"

namespace useragent {

QByteArray orDefault(const QString& chosen) {
  const QByteArray value = chosen.trimmed().toUtf8();
  return value.isEmpty() || !headervalue::isSafe(value) ? QByteArray(kDefault) : value;
}

QByteArray fromSettings(const QString& programDir) {
  return orDefault(settings::value(programDir, kSettingsSection, kSettingsKey));
}

QByteArray forCommand(const QString& option, const QString& programDir) {
  return option.trimmed().isEmpty() ? fromSettings(programDir) : orDefault(option);
}

}  // namespace useragent
