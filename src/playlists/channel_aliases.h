#pragma once

#include <QHash>
#include <QList>
#include <QRegularExpression>
#include <QString>
#include <QStringList>

namespace playlists {

// The channels of station names: the key rules (channel_key.h) with the
// user's alias file on top. Each line of the file is one channel,
// "canonical name,alias,alias,…" (commas of either width); an alias
// "re:pattern" is a regular expression (case-blind, no comma) searched in
// the name as given and in its folded form. Lines starting with "#" and
// blank lines are comments. An alias wins over the rules, an exact alias
// over a pattern, an earlier line over a later one. A name no alias names
// is a channel of its own. Loaded once, then read-only: safe to share
// between threads.
class ChannelNames {
 public:
  // The aliases of file (UTF-8 or GBK); a missing file gives the rules
  // alone, and a line that cannot be used is skipped and reported.
  static ChannelNames load(const QString& aliasFile);
  // The aliases of a program folder's alias.txt, or the delivered ones when
  // the folder has none.
  static ChannelNames forFolder(const QString& programDir);

  // The channel key of a station name: the key of its canonical name when
  // an alias names it, otherwise its own key. "CCTV1 HD", "中央一台" →
  // "cctv1".
  QString key(const QString& name) const;
  // The name to show for the channel: the canonical name from the file
  // ("CCTV-1"), or the name itself, trimmed, when no alias names it.
  QString canonicalName(const QString& name) const;
  // One text per skipped line: "line 7: bad regular expression …".
  const QStringList& problems() const { return m_problems; }

 private:
  struct Channel {
    QString name;
    QString key;
  };
  struct Pattern {
    QRegularExpression expression;
    qsizetype channel;
  };

  // The channel an alias names (-1 for none) and the name's own key.
  struct Match {
    qsizetype channel;
    QString ownKey;
  };

  void addLine(const QString& line, int number);
  void addAlias(const QString& alias, qsizetype channel, int number);
  void addKey(const QString& key, qsizetype channel);
  Match match(const QString& name) const;

  QList<Channel> m_channels;
  QHash<QString, qsizetype> m_byKey;
  QList<Pattern> m_patterns;
  QStringList m_problems;
};

}  // namespace playlists
