#include "playlists/channel_aliases.h"

#include <QDir>
#include <QFileInfo>

#include "base/text_file.h"
#include "playlists/channel_key.h"
#include "playlists/station_files.h"

namespace playlists {

namespace {

constexpr QStringView kPatternPrefix = u"re:";

}  // namespace

ChannelNames ChannelNames::load(const QString& aliasFile) {
  ChannelNames names;
  const QStringList lines = textfile::readLines(aliasFile).value_or(QStringList());
  for (qsizetype i = 0; i < lines.size(); ++i) names.addLine(lines[i], int(i + 1));
  return names;
}

ChannelNames ChannelNames::forFolder(const QString& programDir) {
  const QString own = QDir(programDir).filePath(library::kAliasFile);
  return load(QFileInfo::exists(own) ? own : QStringLiteral(":/data/alias.txt"));
}

void ChannelNames::addLine(const QString& line, int number) {
  const QString text = line.trimmed();
  if (text.isEmpty() || text.startsWith(u'#')) return;
  // A full-width comma separates as well: the file is typed in Chinese.
  const QStringList fields = QString(text).replace(u'，', u',').split(u',');
  const QString name = fields.first().trimmed();
  if (name.isEmpty() || name.startsWith(kPatternPrefix)) {
    m_problems << QStringLiteral("line %1: no channel name before the aliases").arg(number);
    return;
  }
  const qsizetype channel = m_channels.size();
  m_channels.append({name, channelKey(name)});
  addKey(m_channels.last().key, channel);
  for (qsizetype i = 1; i < fields.size(); ++i) addAlias(fields[i].trimmed(), channel, number);
}

void ChannelNames::addAlias(const QString& alias, qsizetype channel, int number) {
  if (alias.isEmpty()) return;
  if (!alias.startsWith(kPatternPrefix)) {
    addKey(channelKey(alias), channel);
    return;
  }
  QRegularExpression expression(alias.mid(kPatternPrefix.size()),
                                QRegularExpression::CaseInsensitiveOption);
  if (!expression.isValid()) {
    m_problems << QStringLiteral("line %1: bad regular expression %2 (%3)")
                      .arg(number)
                      .arg(alias, expression.errorString());
    return;
  }
  // Compiled now, so that matching from several threads only reads it.
  expression.optimize();
  m_patterns.append({expression, channel});
}

void ChannelNames::addKey(const QString& key, qsizetype channel) {
  if (!m_byKey.contains(key)) m_byKey.insert(key, channel);
}

ChannelNames::Match ChannelNames::match(const QString& name) const {
  const QString folded = foldChannelName(name);
  Match found{-1, keyOfFoldedName(folded)};
  if (const auto exact = m_byKey.constFind(found.ownKey); exact != m_byKey.cend()) {
    found.channel = *exact;
    return found;
  }
  for (const Pattern& pattern : m_patterns) {
    if (pattern.expression.match(name).hasMatch() || pattern.expression.match(folded).hasMatch()) {
      found.channel = pattern.channel;
      break;
    }
  }
  return found;
}

QString ChannelNames::key(const QString& name) const {
  const Match found = match(name);
  return found.channel < 0 ? found.ownKey : m_channels[found.channel].key;
}

QString ChannelNames::canonicalName(const QString& name) const {
  const Match found = match(name);
  return found.channel < 0 ? name.trimmed() : m_channels[found.channel].name;
}

}  // namespace playlists
