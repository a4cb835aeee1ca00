#include "playlists/playlist_builder.h"
#include "base/text_lines.h"
#include "playlists/guide_tags.h"

namespace playlists {

// The program's own station files: name, comma, address, comma, and an
// imported station's group as a third field. Lines are
// taken more leniently than the window's loader does (an empty line does
// not end the file, the closing comma may be missing), since a file handed
// to a command is meant to be read whole.
void parseStationLines(const QString& text, PlaylistBuilder& builder) {
  bool ended = false;
  textfile::forEachLine(text, [&](int number, QStringView raw) {
    if (ended) return;
    QString line = raw.toString();
    line.replace(u'\t', u' ');
    line = line.trimmed();
    if (line.isEmpty()) return;
    if (line.compare(u"end", Qt::CaseInsensitive) == 0) {
      ended = true;
      return;
    }
    const qsizetype c1 = line.indexOf(u',');
    if (c1 < 0) return builder.skip(number, QStringLiteral("没有逗号 / no comma after the name"));
    const qsizetype c2 = line.indexOf(u',', c1 + 1);
    const QString address = c2 < 0 ? line.mid(c1 + 1) : line.mid(c1 + 1, c2 - c1 - 1);
    const QString group = c2 < 0 ? QString() : line.mid(c2 + 1).section(u',', 0, 0);
    const QString tags = c2 < 0 ? QString() : line.mid(c2 + 1).section(u',', 1, 1);
    builder.add(number, line.left(c1), StationAddress::parse(address), group,
                parseGuideTagsField(tags));
  });
}

}  // namespace playlists
