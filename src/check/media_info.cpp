#include "check/media_info.h"

#include <mpv/client.h>

#include <QStringList>

namespace check {

namespace {

// Property and track fields read here.
constexpr char kTrackList[] = "track-list";
constexpr char kFileSize[] = "file-size";
constexpr char kDuration[] = "duration";
constexpr char kFileFormat[] = "file-format";

const mpv_node* field(const mpv_node& map, const char* key) {
  if (map.format != MPV_FORMAT_NODE_MAP) return nullptr;
  for (int i = 0; i < map.u.list->num; ++i)
    if (qstrcmp(map.u.list->keys[i], key) == 0) return &map.u.list->values[i];
  return nullptr;
}

QString text(const mpv_node& map, const char* key) {
  const mpv_node* n = field(map, key);
  return n && n->format == MPV_FORMAT_STRING ? QString::fromUtf8(n->u.string) : QString();
}

qint64 number(const mpv_node& map, const char* key) {
  const mpv_node* n = field(map, key);
  if (!n) return 0;
  if (n->format == MPV_FORMAT_INT64) return n->u.int64;
  if (n->format == MPV_FORMAT_DOUBLE) return static_cast<qint64>(n->u.double_);
  return 0;
}

bool flag(const mpv_node& map, const char* key) {
  const mpv_node* n = field(map, key);
  return n && n->format == MPV_FORMAT_FLAG && n->u.flag;
}

// Size over duration, for files whose tracks declare no bitrate. The size of
// an HLS stream is that of its playlist, which says nothing.
qint64 averageBitrate(mpv_handle* handle) {
  char* format = mpv_get_property_string(handle, kFileFormat);
  const bool playlist = format && QByteArray(format).contains("hls");
  mpv_free(format);
  std::int64_t size = 0;
  double duration = 0;
  if (playlist || mpv_get_property(handle, kFileSize, MPV_FORMAT_INT64, &size) < 0 ||
      mpv_get_property(handle, kDuration, MPV_FORMAT_DOUBLE, &duration) < 0 || duration <= 0)
    return 0;
  return static_cast<qint64>(size * 8 / duration);
}

}  // namespace

MediaInfo readMediaInfo(mpv_handle* handle) {
  MediaInfo info;
  if (!handle) return info;
  mpv_node tracks{};
  if (mpv_get_property(handle, kTrackList, MPV_FORMAT_NODE, &tracks) < 0) return info;
  QStringList video, audio;
  if (tracks.format == MPV_FORMAT_NODE_ARRAY) {
    for (int i = 0; i < tracks.u.list->num; ++i) {
      const mpv_node& t = tracks.u.list->values[i];
      if (!flag(t, "selected") || flag(t, "albumart")) continue;
      const QString type = text(t, "type");
      if (type == u"video") {
        video << text(t, "codec");
        info.width = static_cast<int>(number(t, "demux-w"));
        info.height = static_cast<int>(number(t, "demux-h"));
      } else if (type == u"audio") {
        audio << text(t, "codec");
      } else {
        continue;
      }
      info.bitrate += number(t, "demux-bitrate");
    }
  }
  mpv_free_node_contents(&tracks);
  info.codecs = (video + audio).join(u'+');
  if (info.bitrate == 0) info.bitrate = averageBitrate(handle);
  return info;
}

QString describe(const MediaInfo& info) {
  QStringList parts;
  if (!info.codecs.isEmpty()) parts << info.codecs;
  if (info.width > 0 && info.height > 0)
    parts << QStringLiteral("%1x%2").arg(info.width).arg(info.height);
  if (info.bitrate > 0) parts << QStringLiteral("%1 kb/s").arg((info.bitrate + 500) / 1000);
  return parts.join(u' ');
}

}  // namespace check
