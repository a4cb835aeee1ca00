#include "engines/mpv_media_facts.h"

#include <QVariantMap>

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

// A detector's finding holds while its start is the last thing it reported:
// an end of it comes with a later frame and replaces the start.
bool holds(const MpvSession& session, const QByteArray& findings, const char* startKey,
           const char* endKey) {
  const QVariantMap found = session.property(findings.constData()).toMap();
  return found.contains(QLatin1String(startKey)) && !found.contains(QLatin1String(endKey));
}

QByteArray audioFindings(const char* label) { return kAudioFilterFindings + QByteArray(label); }
QByteArray videoFindings(const char* label) { return kVideoFilterFindings + QByteArray(label); }

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
  using namespace mpvfilters;
  facts.silent = !facts.audioCodec.isEmpty() &&
                 holds(session, audioFindings(kSilence), "lavfi.silence_start", "lavfi.silence_end");
  if (!facts.videoCodec.isEmpty()) {
    facts.black = holds(session, videoFindings(kBlack), "lavfi.black_start", "lavfi.black_end");
    facts.frozen = holds(session, videoFindings(kFreeze), "lavfi.freezedetect.freeze_start",
                         "lavfi.freezedetect.freeze_end");
  }
  return facts;
}
