#include "check/probe_answer.h"

#include <QRegularExpression>

#include "playlists/network_address.h"

namespace check {

namespace {

constexpr qsizetype kSniffBytes = 512;
constexpr qsizetype kPlaylistBytes = 64 * 1024;
const QByteArray kPlaylistMark = "#EXTM3U";

int statusOf(const QByteArray& line) {
  static const QRegularExpression pattern(
      QStringLiteral("^(?:HTTP/\\d(?:\\.\\d)?|ICY|RTSP/\\d\\.\\d)\\s+(\\d{3})"));
  const auto m = pattern.match(QString::fromLatin1(line.left(64)));
  return m.hasMatch() ? m.captured(1).toInt() : 0;
}

// Chunked bodies carry their sizes in line; the probe wants the bytes.
QByteArray dechunk(const QByteArray& raw) {
  QByteArray out;
  qsizetype pos = 0;
  while (pos < raw.size()) {
    const qsizetype lineEnd = raw.indexOf("\r\n", pos);
    if (lineEnd < 0) break;
    bool ok = false;
    const qsizetype size = raw.mid(pos, lineEnd - pos).split(';').first().trimmed().toLongLong(&ok, 16);
    if (!ok || size <= 0) break;
    out += raw.mid(lineEnd + 2, size);
    pos = lineEnd + 2 + size + 2;
  }
  return out;
}

QByteArray trimmedStart(const QByteArray& body) {
  QByteArray b = body.startsWith("\xEF\xBB\xBF") ? body.mid(3) : body;
  qsizetype i = 0;
  while (i < b.size() && QChar::isSpace(static_cast<uchar>(b[i]))) ++i;
  return b.mid(i, kSniffBytes).toLower();
}

bool looksLikeText(const QByteArray& body) {
  for (char c : body.left(kSniffBytes)) {
    const auto u = static_cast<uchar>(c);
    if (u < 0x09 || (u > 0x0D && u < 0x20) || u == 0x7F) return false;
  }
  return !body.isEmpty();
}

bool isPlaylistType(const QByteArray& type) {
  return type.contains("mpegurl") || type.contains("scpls") || type.contains("x-ms-asf") ||
         type.contains("ms-asx") || type.contains("realaudio") || type.contains("xspf");
}

// An endless answer its server calls audio or video: the engine may read on
// from the head, there is nothing the first bytes would change.
bool isLiveMedia(const ProbeAnswer& a) {
  return a.endless() && !isPlaylistType(a.contentType) &&
         (a.contentType.startsWith("audio/") || a.contentType.startsWith("video/"));
}

}  // namespace

bool ProbeAnswer::enough(bool closed) const {
  if (closed) return true;
  if (!headComplete) return false;
  if (!http || status < 200 || status > 299 || isLiveMedia(*this)) return true;
  if (contentLength >= 0 && body.size() >= contentLength) return true;
  const bool playlist = trimmedStart(body).startsWith(kPlaylistMark.toLower());
  return body.size() >= (playlist ? kPlaylistBytes : kSniffBytes);
}

ProbeAnswer parseAnswer(const QByteArray& bytes) {
  ProbeAnswer a;
  const qsizetype lineEnd = bytes.indexOf('\n');
  if (lineEnd < 0) return a;
  a.status = statusOf(bytes.left(lineEnd));
  // ICY and RTSP answers need no more than their status.
  if (!bytes.startsWith("HTTP/")) {
    a.headComplete = true;
    return a;
  }
  a.http = true;
  qsizetype headEnd = bytes.indexOf("\r\n\r\n");
  qsizetype bodyStart = headEnd + 4;
  if (headEnd < 0) {
    headEnd = bytes.indexOf("\n\n");
    bodyStart = headEnd + 2;
  }
  if (headEnd < 0) return a;
  a.headComplete = true;
  for (const QByteArray& line : bytes.mid(lineEnd + 1, headEnd - lineEnd).split('\n')) {
    const qsizetype colon = line.indexOf(':');
    if (colon < 0) continue;
    const QByteArray name = line.left(colon).trimmed().toLower();
    const QByteArray value = line.mid(colon + 1).trimmed();
    if (name == "content-type") a.contentType = value.split(';').first().trimmed().toLower();
    else if (name == "location") a.location = value;
    else if (name == "content-length") a.contentLength = value.toLongLong();
    else if (name == "transfer-encoding") a.chunked = value.toLower().contains("chunked");
    else if (name == "accept-ranges") a.ranges = value.toLower() == "bytes";
  }
  a.body = bytes.mid(bodyStart);
  if (a.chunked) a.body = dechunk(a.body);
  return a;
}

BodyKind kindOf(const ProbeAnswer& answer) {
  const QByteArray start = trimmedStart(answer.body);
  if (start.startsWith(kPlaylistMark.toLower())) {
    if (answer.body.contains("#EXT-X-STREAM-INF")) return BodyKind::MasterPlaylist;
    if (answer.body.contains("#EXTINF") || answer.body.contains("#EXT-X-TARGETDURATION"))
      return BodyKind::MediaPlaylist;
    return BodyKind::AddressList;
  }
  if (answer.contentType.contains("html") || start.startsWith("<!doctype html") ||
      start.startsWith("<html") || start.startsWith("<head") || start.startsWith("<body"))
    return BodyKind::WebPage;
  // Media carries addresses too (an encoder's name in a video's first frame).
  const bool text = looksLikeText(answer.body);
  const bool playlistText = start.startsWith("[playlist]") || start.startsWith("<asx") ||
                            start.startsWith("<?xml") || (text && start.contains("://"));
  if (isPlaylistType(answer.contentType) || playlistText) return BodyKind::AddressList;
  if (answer.contentType.startsWith("text/") || text) return BodyKind::Text;
  return BodyKind::Unknown;
}

QStringList variantsOf(const QByteArray& playlist, const QUrl& base) {
  QStringList variants;
  bool next = false;
  for (const QByteArray& raw : playlist.split('\n')) {
    const QByteArray line = raw.trimmed();
    if (line.startsWith("#EXT-X-STREAM-INF")) {
      next = true;
    } else if (next && !line.isEmpty() && !line.startsWith('#')) {
      // A remote playlist never sends the engine to a local file.
      const QString variant = base.resolved(QUrl(QString::fromUtf8(line))).toString();
      if (playlists::hasNetworkScheme(variant)) variants << variant;
      next = false;
    }
  }
  return variants;
}

}  // namespace check
