#pragma once

#include <QByteArray>
#include <QStringList>
#include <QUrl>

namespace check {

// What the first bytes of an answer say about a station.
enum class BodyKind {
  Unknown,         // binary or not yet seen: the engine decides
  WebPage,         // HTML: never media
  Text,            // text that is no playlist we know
  MediaPlaylist,   // an HLS playlist of segments
  MasterPlaylist,  // an HLS playlist of variants
  AddressList,     // another list of addresses (M3U, PLS, ASX): the engine reads it
};

// The head and the start of the body of an HTTP (or ICY, RTSP) answer.
struct ProbeAnswer {
  int status = 0;           // 0 while the status line is incomplete
  bool http = false;        // an HTTP answer; ICY and RTSP ones are judged by their status
  bool headComplete = false;
  QByteArray contentType;   // lower case, without parameters
  QByteArray location;
  qint64 contentLength = -1;
  bool chunked = false;
  bool ranges = false;      // the server takes byte ranges (Accept-Ranges: bytes)
  QByteArray body;          // de-chunked when chunked

  // A body sent raw with no end announced: a live stream, readable as it comes.
  bool endless() const { return contentLength < 0 && !chunked; }
  // The answer holds as much of the body as the probe needs: a few hundred
  // bytes, the whole of a playlist, or none of a live audio or video stream.
  bool enough(bool closed) const;
};

ProbeAnswer parseAnswer(const QByteArray& bytes);
BodyKind kindOf(const ProbeAnswer& answer);
// The variants of a master playlist, as absolute addresses against base.
QStringList variantsOf(const QByteArray& playlist, const QUrl& base);

}  // namespace check
