#pragma once

#include <QString>

// What an engine learnt about media it played: the evidence of a check.
struct MediaFacts {
  QString container;   // "mp3", "mpegts", "hls" ...
  QString videoCodec;  // empty: no moving picture (none, or only a still image)
  int width = 0;
  int height = 0;
  QString audioCodec;  // empty: no sound track
  qint64 bitrate = 0;  // bits per second, 0 when unknown
  // Bytes received per second from the first byte of media, as bits; a line
  // that delivers less than its bitrate stutters. 0 when not measured.
  qint64 downloadSpeed = 0;
  bool stillImage = false;  // a picture that is a still image (cover art, a PNG)
  // Over what was decoded: no sound above the noise floor, every frame
  // black, the picture never changing.
  bool silent = false;
  bool black = false;
  bool frozen = false;

  bool hasMedia() const { return !videoCodec.isEmpty() || !audioCodec.isEmpty(); }
  bool flagged() const { return silent || black || frozen; }
};
