#include "playlists/playlist_export.h"

#include <algorithm>

#include "playlists/station_address.h"

namespace playlists {

namespace {

// The #EXTVLCOPT option for each header players know by name.
struct VlcOption {
  const char* header;
  QLatin1StringView option;
};
constexpr VlcOption kVlcOptions[] = {
    {"Referer", QLatin1StringView("http-referrer")},
    {"User-Agent", QLatin1StringView("http-user-agent")},
    {"Origin", QLatin1StringView("http-origin")},
};

// An attribute of an #EXTM3U or #EXTINF line, or "" without a value.
QString attribute(QLatin1StringView name, QString value) {
  if (value.isEmpty()) return {};
  // A quote would end the attribute early.
  value.replace(u'"', u'\'');
  return QStringLiteral(" %1=\"%2\"").arg(name, value);
}

QString extinf(const Station& s) {
  return QStringLiteral("#EXTINF:-1%1%2%3%4,%5\n")
      .arg(attribute(QLatin1StringView("tvg-id"), s.tags.tvgId),
           attribute(QLatin1StringView("tvg-name"), s.tags.tvgName),
           attribute(QLatin1StringView("tvg-logo"), s.tags.tvgLogo),
           attribute(QLatin1StringView("group-title"), s.group), s.name);
}

// The programme guides the stations came with, each once.
QString guideUrls(const StationList& stations) {
  QStringList urls;
  for (const Station& s : stations)
    if (!s.tags.guideUrl.isEmpty() && !urls.contains(s.tags.guideUrl)) urls << s.tags.guideUrl;
  return urls.join(u',');
}

// Whether an #EXTVLCOPT line gives the value back as it is: a reader
// trims the line, takes it as UTF-8 and skips an empty value.
bool readsBackWhole(const QByteArray& value) {
  const QString text = QString::fromUtf8(value);
  return !text.isEmpty() && text.trimmed() == text && text.toUtf8() == value;
}

// The station's headers split into #EXTVLCOPT lines and the rest; a value
// such a line would not give back whole, or a header named twice, stays in
// the "|" suffix, which keeps every byte.
QString vlcOptions(StationAddress& address) {
  QString lines;
  for (const VlcOption& o : kVlcOptions) {
    const auto named = [&](const RequestHeader& h) {
      return h.name.compare(o.header, Qt::CaseInsensitive) == 0;
    };
    const auto known = std::find_if(address.headers.begin(), address.headers.end(), named);
    if (known == address.headers.end() || !readsBackWhole(known->value) ||
        std::count_if(address.headers.begin(), address.headers.end(), named) > 1)
      continue;
    lines += QStringLiteral("#EXTVLCOPT:%1=%2\n").arg(o.option, QString::fromUtf8(known->value));
    address.headers.erase(known);
  }
  return lines;
}

}  // namespace

QString toM3u8(const StationList& stations) {
  QString text =
      QStringLiteral("#EXTM3U%1\n").arg(attribute(QLatin1StringView("x-tvg-url"), guideUrls(stations)));
  for (const Station& s : stations) {
    StationAddress address = StationAddress::parse(s.address);
    text += extinf(s);
    text += vlcOptions(address);
    text += address.text() + u'\n';
  }
  return text;
}

}  // namespace playlists
