#include <QFileInfo>

#include "base/text_file.h"
#include "playlists/playlist.h"
#include "playlists/playlist_builder.h"
#include "base/text_lines.h"
#include "playlists/tidy_address.h"

namespace playlists {

namespace {

// Larger files are not playlists; reading them would only exhaust memory.
constexpr qint64 kMaxPlaylistBytes = 256LL * 1024 * 1024;

bool startsLikeAddress(const QString& line) {
  return !addressScheme(line).isEmpty() || line.startsWith(u'/');
}

QString firstContentLine(const QString& text) {
  QString first;
  textfile::forEachLine(QStringView(text).left(64 * 1024), [&first](int, QStringView line) {
    if (first.isEmpty()) first = line.left(4096).trimmed().toString();
  });
  return first;
}

// "名,URL" without the closing comma of our own station lines.
bool isChannelLine(const QString& line) {
  const qsizetype comma = line.indexOf(u',');
  return comma > 0 && !line.endsWith(u',') &&
         startsLikeAddress(line.mid(comma + 1).trimmed());
}

}  // namespace

PlaylistFormat detectPlaylistFormat(const QString& fileName, const QString& text) {
  const QString head = text.left(4096).trimmed();
  if (head.startsWith(u"#EXTM3U", Qt::CaseInsensitive)) return PlaylistFormat::M3u;
  if (head.contains(u"[playlist]", Qt::CaseInsensitive)) return PlaylistFormat::Pls;
  if (head.contains(u"<asx", Qt::CaseInsensitive)) return PlaylistFormat::Asx;
  if (head.contains(u",#genre#", Qt::CaseInsensitive)) return PlaylistFormat::TextList;
  const QString suffix = QFileInfo(fileName).suffix().toLower();
  if (suffix == u"m3u" || suffix == u"m3u8") return PlaylistFormat::M3u;
  if (suffix == u"pls") return PlaylistFormat::Pls;
  if (suffix == u"asx" || suffix == u"wax" || suffix == u"wvx") return PlaylistFormat::Asx;
  // Station lines begin with a name; a bare list of addresses is an M3U
  // without any directive.
  const QString first = firstContentLine(text);
  if (startsLikeAddress(first)) return PlaylistFormat::M3u;
  return isChannelLine(first) ? PlaylistFormat::TextList : PlaylistFormat::StationLines;
}

Playlist parsePlaylist(const QString& text, PlaylistFormat format, const QString& baseDir,
                       const StationSink& onStation) {
  Playlist playlist;
  playlist.format = format;
  PlaylistBuilder builder(playlist, baseDir, onStation);
  switch (format) {
    case PlaylistFormat::StationLines: parseStationLines(text, builder); break;
    case PlaylistFormat::M3u: parseM3u(text, builder); break;
    case PlaylistFormat::Pls: parsePls(text, builder); break;
    case PlaylistFormat::Asx: parseAsx(text, builder); break;
    case PlaylistFormat::TextList: parseTextList(text, builder); break;
  }
  return playlist;
}

std::optional<Playlist> readPlaylist(const QString& path, const StationSink& onStation) {
  const QFileInfo info(path);
  if (!info.isFile() || info.size() > kMaxPlaylistBytes) return std::nullopt;
  // Windows tools often save ASX and M3U files as UTF-16 with a byte order
  // mark, which the reader knows.
  const auto text = textfile::read(path);
  if (!text) return std::nullopt;
  return parsePlaylist(*text, detectPlaylistFormat(path, *text), info.absolutePath(), onStation);
}

}  // namespace playlists
