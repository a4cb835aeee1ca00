#include <QStringList>

#include "playlists/playlist_builder.h"

namespace playlists {

namespace {

// The title of an #EXTINF line: the text after the first comma that is not
// inside a quoted attribute value.
QString extinfTitle(const QString& line) {
  bool quoted = false;
  for (int i = 0; i < line.size(); ++i) {
    if (line[i] == u'"')
      quoted = !quoted;
    else if (line[i] == u',' && !quoted)
      return line.mid(i + 1);
  }
  return {};
}

}  // namespace

// M3U and M3U8: one address per line; an #EXTINF line names the address
// that follows it; other # lines are directives we do not need.
void parseM3u(const QString& text, PlaylistBuilder& builder) {
  const QStringList lines = text.split(u'\n');
  QString name;
  for (int i = 0; i < lines.size(); ++i) {
    const QString line = lines[i].trimmed();
    if (line.isEmpty()) continue;
    if (line.startsWith(u'#')) {
      if (line.startsWith(u"#EXTINF:", Qt::CaseInsensitive)) name = extinfTitle(line);
      continue;
    }
    builder.add(i + 1, name, line);
    name.clear();
  }
}

}  // namespace playlists
