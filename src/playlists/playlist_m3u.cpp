#include "playlists/playlist_builder.h"
#include "base/header_value.h"
#include "base/text_lines.h"

namespace playlists {

namespace {

// The quote that closes an attribute value opened before `from`: the first
// one followed by white space, a comma or the end of the line, so a quote
// inside the value (group-title="a"b") does not end it. -1 when none does.
qsizetype closingQuote(QStringView line, qsizetype from) {
  for (qsizetype at = line.indexOf(u'"', from); at >= 0; at = line.indexOf(u'"', at + 1))
    if (at + 1 == line.size() || line[at + 1] == u',' || line[at + 1].isSpace()) return at;
  return -1;
}

// The title of an #EXTINF line: the text after the first comma that is not
// inside a quoted attribute value (one opened by '="').
QStringView extinfTitle(QStringView line) {
  for (qsizetype i = 0; i < line.size(); ++i) {
    if (line[i] == u'"' && i > 0 && line[i - 1] == u'=') {
      const qsizetype close = closingQuote(line, i + 1);
      if (close > 0) i = close;
    } else if (line[i] == u',') {
      return line.mid(i + 1);
    }
  }
  return {};
}

// The value of a quoted attribute of an #EXTINF line, e.g. group-title="新闻".
QStringView extinfAttribute(QStringView line, QStringView name) {
  const QStringView head = line.left(line.size() - extinfTitle(line).size());
  for (qsizetype at = head.indexOf(name, 0, Qt::CaseInsensitive); at >= 0;
       at = head.indexOf(name, at + 1, Qt::CaseInsensitive)) {
    const qsizetype open = at + name.size();
    if (at > 0 && !head[at - 1].isSpace()) continue;
    if (!head.mid(open).startsWith(u"=\"")) continue;
    const qsizetype close = closingQuote(head, open + 2);
    if (close > 0) return head.mid(open + 2, close - open - 2);
  }
  return {};
}

// #EXTVLCOPT options that carry request headers, and the header each names.
struct VlcHeaderOption {
  QStringView option;
  const char* header;
};
constexpr VlcHeaderOption kVlcHeaderOptions[] = {
    {u"http-referrer=", "Referer"},
    {u"http-user-agent=", "User-Agent"},
    {u"http-origin=", "Origin"},
};

// What the directives before an address say about it.
struct PendingEntry {
  QString name;
  QString group;
  GuideTags tags;
  QList<RequestHeader> headers;
};

// What the list says of all its entries.
struct ListDirectives {
  QString group;     // #EXTGRP
  QString guideUrl;  // x-tvg-url or url-tvg of #EXTM3U
};

void readDirective(QStringView line, PendingEntry& entry, ListDirectives& list) {
  if (line.startsWith(u"#EXTM3U", Qt::CaseInsensitive)) {
    list.guideUrl = extinfAttribute(line, u"x-tvg-url").toString();
    if (list.guideUrl.isEmpty()) list.guideUrl = extinfAttribute(line, u"url-tvg").toString();
  } else if (line.startsWith(u"#EXTINF:", Qt::CaseInsensitive)) {
    entry.name = extinfTitle(line).toString();
    entry.group = extinfAttribute(line, u"group-title").toString();
    entry.tags = {extinfAttribute(line, u"tvg-id").toString(),
                  extinfAttribute(line, u"tvg-name").toString(),
                  extinfAttribute(line, u"tvg-logo").toString(), {}};
  } else if (line.startsWith(u"#EXTGRP:", Qt::CaseInsensitive)) {
    list.group = line.mid(8).trimmed().toString();
  } else if (line.startsWith(u"#EXTVLCOPT:", Qt::CaseInsensitive)) {
    const QStringView option = line.mid(11).trimmed();
    for (const VlcHeaderOption& o : kVlcHeaderOptions)
      if (option.startsWith(o.option, Qt::CaseInsensitive))
        entry.headers.append({o.header, option.mid(o.option.size()).trimmed().toUtf8()});
  }
}

// The address line's own "|" headers come first; a directive adds only the
// headers the line does not name. A directive's value that cannot be sent
// is left out, and the others kept.
StationAddress addressOf(QStringView line, const QList<RequestHeader>& directives) {
  StationAddress address = StationAddress::parse(line.toString());
  for (const RequestHeader& h : directives)
    if (address.header(h.name).isEmpty() && !h.value.isEmpty() && headervalue::isSafe(h.value))
      address.headers.append(h);
  return address;
}

}  // namespace

// M3U and M3U8: one address per line; an #EXTINF line names the address
// that follows it and may give its group; #EXTGRP gives the group of the
// entries after it that name none; #EXTVLCOPT lines give the next address's
// request headers. Other # lines are directives we do not need.
void parseM3u(const QString& text, PlaylistBuilder& builder) {
  PendingEntry entry;
  ListDirectives list;
  textfile::forEachLine(text, [&](int number, QStringView raw) {
    const QStringView line = raw.trimmed();
    if (line.isEmpty()) return;
    if (line.startsWith(u'#')) return readDirective(line, entry, list);
    entry.tags.guideUrl = list.guideUrl;
    builder.add(number, entry.name, addressOf(line, entry.headers),
                entry.group.isEmpty() ? list.group : entry.group, entry.tags);
    entry = {};
  });
}

}  // namespace playlists
