#pragma once

#include <QString>

struct mpv_handle;

namespace check {

// What the engine knows about a stream once it plays.
struct MediaInfo {
  QString codecs;  // selected tracks' codecs, video first: "h264+aac"
  int width = 0;
  int height = 0;
  qint64 bitrate = 0;  // bits per second, 0 when unknown
};

// Reads the selected tracks through the handle (cover art is no video).
MediaInfo readMediaInfo(mpv_handle* handle);

// "h264+aac 640x360 1200 kb/s", leaving out what is unknown.
QString describe(const MediaInfo& info);

}  // namespace check
