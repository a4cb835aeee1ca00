#pragma once

#include <QDir>
#include <QString>
#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <tuple>

#include "base/header_value.h"
#include "playlists/playlist.h"
#include "playlists/playlist_export.h"
#include "playlists/station_address.h"
#include "playlists/station_file.h"
#include "playlists/tidy_address.h"

// What every station the program reads or finds must hold to; a harness
// aborts at the first one that does not, so the fuzzer reports its input.
namespace oracle {

// Says what does not hold, of which text, and stops.
inline void check(bool holds, const char* what, const QString& of = {}) {
  if (holds) return;
  fprintf(stderr, "oracle: %s: %s\n", what, qPrintable(of));
  abort();
}

inline QString shown(const playlists::Station& s) {
  return QStringLiteral("[%1] [%2] [%3]").arg(s.name, s.address, s.group);
}

inline bool fitsOneLine(const QString& text) {
  return !text.contains(u'\r') && !text.contains(u'\n') && !text.contains(QChar(0));
}

// Name and address fit in one station line, and the address's header
// suffix reads back whole: every value passes the header check.
inline void expectStorable(const QString& name, const QString& address) {
  check(fitsOneLine(name), "a name holds CR, LF or NUL", name);
  check(fitsOneLine(address), "an address holds CR, LF or NUL", address);
  const playlists::StationAddress parsed = playlists::StationAddress::parse(address);
  for (const playlists::RequestHeader& h : parsed.headers)
    check(headervalue::isSafe(h.value), "a header value fails the check", address);
  check(parsed.text() == address, "a header suffix does not read back whole", address);
}

inline bool sameStation(const playlists::Station& a, const playlists::Station& b) {
  return a.name == b.name && a.address == b.address && a.group == b.group;
}

// The headers a request sends, names in lower case (they are compared
// case-blind), in one order.
inline QList<playlists::RequestHeader> sent(QList<playlists::RequestHeader> headers) {
  for (playlists::RequestHeader& h : headers) h.name = h.name.toLower();
  std::sort(headers.begin(), headers.end(), [](const auto& a, const auto& b) {
    return std::tie(a.name, a.value) < std::tie(b.name, b.value);
  });
  return headers;
}

// The one station a text reads as.
inline playlists::Station readOne(const QString& text, playlists::PlaylistFormat format,
                                  const QString& baseDir) {
  const playlists::Playlist again = playlists::parsePlaylist(text, format, baseDir);
  check(again.stations.size() == 1, "a written station does not read as one", text);
  return again.stations.first();
}

// A station read from a list: storable, the same station when its station
// line is read again, and the same request, name and group when its M3U8
// export is read again (unless it is a relative path).
inline void expectRoundTrips(const playlists::Station& s, const QString& baseDir) {
  expectStorable(s.name, s.address);
  check(fitsOneLine(s.group) && !s.group.contains(u','), "a group does not fit its field",
        s.group);
  const playlists::Station stored = readOne(playlists::stationFileLine(s),
                                            playlists::PlaylistFormat::StationLines, baseDir);
  check(sameStation(stored, s), "a station line reads as another station",
        shown(s) + " -> " + shown(stored));

  const auto request = playlists::StationAddress::parse(s.address);
  // A relative path names another file once the list lies elsewhere.
  if (QDir::isRelativePath(request.bare) && playlists::addressScheme(request.bare).isEmpty())
    return;
  const playlists::Station exported =
      readOne(playlists::toM3u8({s}), playlists::PlaylistFormat::M3u, baseDir);
  const auto exportedRequest = playlists::StationAddress::parse(exported.address);
  // The export writes a group's quotes as apostrophes.
  check(exported.name == s.name && exportedRequest.bare == request.bare &&
            sent(exportedRequest.headers) == sent(request.headers) &&
            exported.group == QString(s.group).replace(u'"', u'\''),
        "an exported station reads as another station", shown(s) + " -> " + shown(exported));
}

inline void expectRoundTrips(const playlists::Playlist& playlist, const QString& baseDir) {
  for (const playlists::Station& s : playlist.stations) expectRoundTrips(s, baseDir);
}

}  // namespace oracle
