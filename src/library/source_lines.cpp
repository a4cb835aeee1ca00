#include "library/source_lines.h"

#include <QUrl>

#include "base/text_file.h"
#include "library/subscription_list.h"
#include "playlists/network_address.h"
#include "playlists/playlist.h"
#include "playlists/station_address.h"

namespace library {

namespace {

// A web page or binary data behind a list's address is no list, whatever
// lines in it look like stations.
bool looksLikeList(const QByteArray& body) {
  const QByteArray head = body.left(4096).trimmed().toLower();
  if (head.contains('\0')) return false;
  return !head.startsWith("<!doctype") && !head.startsWith("<html") && !head.contains("<body");
}

}  // namespace

SourceLines readSourceLines(const QByteArray& body, const QString& address,
                            const SubscriptionList& list) {
  SourceLines lines;
  if (!looksLikeList(body)) {
    lines.reason = QStringLiteral("not_a_playlist");
    return lines;
  }
  const QString text = textfile::decode(body);
  const QString fileName = QUrl(playlists::bareAddress(address)).fileName();
  const auto format = playlists::detectPlaylistFormat(fileName, text);
  playlists::parsePlaylist(text, format, QString(), [&](playlists::Station&& s) {
    if (!playlists::hasNetworkScheme(playlists::bareAddress(s.address)))
      ++lines.local;
    else if (list.isBlacklisted(s.name, s.address))
      ++lines.blacklisted;
    else
      lines.stations.append(std::move(s));
  });
  if (lines.stations.isEmpty() && lines.blacklisted == 0)
    lines.reason = lines.local > 0 || text.trimmed().isEmpty() ? QStringLiteral("empty")
                                                               : QStringLiteral("not_a_playlist");
  return lines;
}

}  // namespace library
