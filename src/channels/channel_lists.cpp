#include "channels/channel_lists.h"

#include "playlists/playlist_export.h"

namespace channels {

namespace {

// A comma would end the name early; a full-width one reads the same.
QString listField(QString text) { return text.replace(u',', QChar(0xFF0C)); }

}  // namespace

QString toTextList(const QList<RankedChannel>& channels) {
  QString text;
  QString group;
  for (qsizetype i = 0; i < channels.size(); ++i) {
    const RankedChannel& c = channels[i];
    if (i == 0 || c.group != group) {
      group = c.group;
      if (!group.isEmpty()) text += listField(group) + QStringLiteral(",#genre#\n");
    }
    for (const RankedLine& line : c.lines)
      text += listField(c.name) + u',' + line.station.address + u'\n';
  }
  return text;
}

QString toM3u(const QList<RankedChannel>& channels) {
  playlists::StationList stations;
  for (const RankedChannel& c : channels) {
    for (const RankedLine& line : c.lines) {
      playlists::Station s = line.station;
      s.name = c.name;
      s.group = c.group;
      stations.append(s);
    }
  }
  return playlists::toM3u8(stations);
}

}  // namespace channels
