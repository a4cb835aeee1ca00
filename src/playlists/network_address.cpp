#include "playlists/network_address.h"

namespace playlists {

bool hasNetworkScheme(const QString& address) {
  static const QStringView kSchemes[] = {
      u"http",  u"https", u"ftp",   u"mms",   u"mmsh",  u"mmst",   u"mmsu",   u"rtsp",
      u"rtsps", u"rtmp",  u"rtmps", u"rtmpe", u"rtmpt", u"rtmpte", u"rtmpts", u"rtp",
      u"udp",   u"srt",   u"rist"};
  const qsizetype colon = address.indexOf(u"://");
  if (colon <= 0 || colon + 3 >= address.size()) return false;
  const QStringView scheme = QStringView(address).first(colon);
  for (QStringView known : kSchemes)
    if (scheme.compare(known, Qt::CaseInsensitive) == 0) return true;
  return false;
}

}  // namespace playlists
