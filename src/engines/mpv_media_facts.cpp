#include "engines/mpv_media_facts.h"

#include <QVariantMap>

#include "engines/mpv_detectors.h"
#include "engines/mpv_names.h"
#include "engines/mpv_session.h"

using namespace mpvname;

namespace {

// Size over duration, for files whose tracks declare no bitrate. The size of
// an HLS stream is that of its playlist, which says nothing.
qint64 averageBitrate(const MpvSession& session, const QString& container) {
  const qint64 size = session.property(kFileSize).toLongLong();
  const double duration = session.property(kDuration).toDouble();
  if (container.contains(u"hls") || size <= 0 || duration <= 0) return 0;
  return static_cast<qint64>(size * 8 / duration);
}

void readTracks(const MpvSession& session, MediaFacts& facts) {
  for (const QVariant& entry : session.property(kTrackList).toList()) {
    const QVariantMap t = entry.toMap();
    if (!t.value(kTrackSelected).toBool()) continue;
    const QString type = t.value(kTrackType).toString();
    const QString codec = t.value(kTrackCodec).toString();
    if (type == u"video" && (t.value(kTrackImage).toBool() || t.value(kTrackAlbumArt).toBool())) {
      facts.stillImage = true;
    } else if (type == u"video") {
      facts.videoCodec = codec;
      facts.width = t.value(kTrackWidth).toInt();
      facts.height = t.value(kTrackHeight).toInt();
    } else if (type == u"audio") {
      facts.audioCodec = codec;
    } else {
      continue;
    }
    facts.bitrate += t.value(kTrackBitrate).toLongLong();
  }
}

}  // namespace

MediaFacts readMediaFacts(const MpvSession& session) {
  MediaFacts facts;
  facts.container = session.property(kFileFormat).toString();
  readTracks(session, facts);
  if (facts.bitrate == 0) facts.bitrate = averageBitrate(session, facts.container);
  const mpvdetect::Findings found =
      mpvdetect::read(session, !facts.audioCodec.isEmpty(), !facts.videoCodec.isEmpty());
  facts.silent = found.silent;
  facts.black = found.black;
  facts.frozen = found.frozen;
  return facts;
}
