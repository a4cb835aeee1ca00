#include "base/settings_file.h"

#include <QDir>

#include "base/text_file.h"

namespace settings {

QString value(const QString& programDir, QStringView section, QStringView key) {
  const auto lines = textfile::readLines(QDir(programDir).filePath(kFile));
  if (!lines) return {};
  bool inSection = false;
  for (const QString& raw : *lines) {
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

}  // namespace settings
