#include <QStringList>

#include "playlists/playlist_builder.h"

namespace playlists {

// The program's own station files: name, comma, address, comma. Lines are
// taken more leniently than the window's loader does (an empty line does
// not end the file, the closing comma may be missing), since a file handed
// to a command is meant to be read whole.
void parseStationLines(const QString& text, PlaylistBuilder& builder) {
  const QStringList lines = text.split(u'\n');
  for (int i = 0; i < lines.size(); ++i) {
    QString line = lines[i];
    line.replace(u'\t', u' ');
    line = line.trimmed();
    if (line.isEmpty()) continue;
    if (line.compare(u"end", Qt::CaseInsensitive) == 0) break;
    const int c1 = line.indexOf(u',');
    if (c1 < 0) {
      builder.skip(i + 1, QStringLiteral("没有逗号 / no comma after the name"));
      continue;
    }
    const int c2 = line.indexOf(u',', c1 + 1);
    const QString address = c2 < 0 ? line.mid(c1 + 1) : line.mid(c1 + 1, c2 - c1 - 1);
    builder.add(i + 1, line.left(c1), address);
  }
}

}  // namespace playlists
