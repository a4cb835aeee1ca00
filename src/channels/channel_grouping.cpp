#include "channels/channel_grouping.h"

#include <QHash>
#include <QSet>

#include "history/line_key.h"
#include "playlists/channel_aliases.h"

namespace channels {

QList<Channel> groupChannels(const playlists::StationList& stations,
                             const playlists::ChannelNames& names) {
  QList<Channel> channels;
  QHash<QString, qsizetype> byKey;
  QSet<QString> seenLines;
  for (const playlists::Station& s : stations) {
    const QString key = names.key(s.name);
    const QString lineKey = history::lineKey(s.address);
    const QString line = key + u'\n' + lineKey;
    if (seenLines.contains(line)) continue;
    seenLines.insert(line);
    auto at = byKey.constFind(key);
    if (at == byKey.cend()) {
      at = byKey.insert(key, channels.size());
      channels.append({key, names.canonicalName(s.name), s.group, {}, {}});
    }
    channels[*at].lines.append(s);
    channels[*at].lineKeys.append(lineKey);
  }
  QHash<QString, qsizetype> groupRank;
  for (const Channel& c : channels)
    if (!groupRank.contains(c.group)) groupRank.insert(c.group, groupRank.size());
  std::stable_sort(channels.begin(), channels.end(), [&](const Channel& a, const Channel& b) {
    return groupRank.value(a.group) < groupRank.value(b.group);
  });
  return channels;
}

}  // namespace channels
