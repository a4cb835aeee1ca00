#include "playlists/playlist_builder.h"
#include "base/text_lines.h"
#include "playlists/tidy_address.h"

namespace playlists {

namespace {

// "URL$线路1" names a source of the channel: a "$" followed by a label (no
// "=", "&" or "/", which only an address or a header value holds) is no
// part of the address, so "?token=ab$cd&e=1" stays whole. The tag may
// stand after the header suffix too.
qsizetype tagAt(QStringView text) {
  for (qsizetype at = text.indexOf(u'$'); at >= 0; at = text.indexOf(u'$', at + 1)) {
    const QStringView label = text.mid(at + 1);
    if (!label.contains(u'=') && !label.contains(u'&') && !label.contains(u'/')) return at;
  }
  return -1;
}

QString withoutTag(QStringView source) {
  const qsizetype bar = source.indexOf(u'|');
  const QStringView bare = bar < 0 ? source : source.left(bar);
  const QStringView suffix = bar < 0 ? QStringView() : source.mid(bar);
  if (const qsizetype tag = tagAt(bare); tag >= 0) return bare.left(tag).toString().append(suffix);
  return bare.toString().append(suffix.left(tagAt(suffix)));
}

// A scheme is a few characters; no need to look further after a "#".
constexpr qsizetype kSchemePeek = 40;

// A channel's sources: split at each "#" that an address follows, so that a
// "#" inside an address (a fragment, a header value) stays in it.
QList<QStringView> sourcesOf(QStringView rest) {
  QList<QStringView> sources;
  qsizetype start = 0;
  for (qsizetype at = rest.indexOf(u'#'); at >= 0; at = rest.indexOf(u'#', at + 1)) {
    if (addressScheme(rest.mid(at + 1).trimmed().left(kSchemePeek).toString()).isEmpty()) continue;
    sources << rest.mid(start, at - start);
    start = at + 1;
  }
  sources << rest.mid(start);
  return sources;
}

}  // namespace

// The Chinese channel lists: "分组,#genre#" starts a group, "名,URL" is a
// channel; one channel's sources joined by "#" become stations of one name.
void parseTextList(const QString& text, PlaylistBuilder& builder) {
  QString group;
  textfile::forEachLine(text, [&](int number, QStringView raw) {
    const QStringView line = raw.trimmed();
    if (line.isEmpty() || line.startsWith(u'#') || line.startsWith(u"//")) return;
    const qsizetype comma = line.indexOf(u',');
    if (comma < 0) return builder.skip(number, QStringLiteral("没有逗号 / no comma after the name"));
    const QStringView name = line.left(comma).trimmed();
    QStringView rest = line.mid(comma + 1).trimmed();
    while (rest.endsWith(u',')) rest.chop(1);
    if (rest.startsWith(u"#genre#", Qt::CaseInsensitive)) {
      group = name.toString();
      return;
    }
    bool any = false;
    for (QStringView source : sourcesOf(rest)) {
      source = source.trimmed();
      // "##" between two sources leaves no "#" on the first.
      while (source.endsWith(u'#')) source.chop(1);
      if (source.isEmpty()) continue;
      any = true;
      builder.add(number, name.toString(), StationAddress::parse(withoutTag(source)), group);
    }
    if (!any) builder.skip(number, QStringLiteral("没有地址 / no address"));
  });
}

}  // namespace playlists
