#include "base/user_agent.h"

#include <QDir>

#include "base/header_value.h"
#include "base/text_file.h"

namespace useragent {

namespace {

// The raw value of "key=value" in "[section]", read by hand rather than by
// QSettings: browser User-Agents hold ";" and ",", which QSettings would
// take for a comment and a list.
QString iniValue(const QStringList& lines, QStringView section, QStringView key) {
  bool inSection = false;
  for (const QString& raw : lines) {
    const QString line = raw.trimmed();
    if (line.startsWith(u'[')) {
      inSection = line.compare(u'[' + section.toString() + u']', Qt::CaseInsensitive) == 0;
      continue;
    }
    const qsizetype eq = line.indexOf(u'=');
    if (!inSection || eq < 0 || line.left(eq).trimmed().compare(key, Qt::CaseInsensitive) != 0)
      continue;
    QString value = line.mid(eq + 1).trimmed();
    if (value.size() >= 2 && value.startsWith(u'"') && value.endsWith(u'"'))
      value = value.mid(1, value.size() - 2);
    return value;
  }
  return {};
}

}  // namespace

QByteArray orDefault(const QString& chosen) {
  const QByteArray value = chosen.trimmed().toUtf8();
  return value.isEmpty() || !headervalue::isSafe(value) ? QByteArray(kDefault) : value;
}

QByteArray fromSettings(const QString& programDir) {
  const auto lines = textfile::readLines(QDir(programDir).filePath(kSettingsFile));
  return orDefault(lines ? iniValue(*lines, kSettingsSection, kSettingsKey) : QString());
}

QByteArray forCommand(const QString& option, const QString& programDir) {
  return option.trimmed().isEmpty() ? fromSettings(programDir) : orDefault(option);
}

}  // namespace useragent
