#include "engines/mpv_media_facts.h"

#include <QVariantMap>

#include "engines/mpv_names.h"

using namespace mpvname;

namespace {

// Size over duration: the container's own bitrate. The size of an HLS
// stream is that of its playlist, which says nothing.
qint64 containerBitrate(qint64 size, double duration, const QString& container) {
  if (container.contains(u"hls") || size <= 0 || duration <= 0) return 0;
  return static_cast<qint64>(size * 8 / duration);
}

// A detector's finding holds while its start is the last thing it reported:
// an end of it comes with a later frame and replaces the start.
bool holds(const QVariant& findings, const char* startKey, const char* endKey) {
  const QVariantMap found = findings.toMap();
  return found.contains(QLatin1String(startKey)) && !found.contains(QLatin1String(endKey));
}

// The bitrates mpv measured over the packets it read, per kind of track.
struct MeasuredRates {
  qint64 video = 0;
  qint64 audio = 0;
};

// A sum over the tracks, known only when each track adds to it.
class Total {
 public:
  void add(qint64 rate) {
    m_sum += rate;
    m_known = m_known && rate > 0;
  }
  qint64 value() const { return m_known ? m_sum : 0; }

 private:
  qint64 m_sum = 0;
  bool m_known = true;
};

// The bitrates of the selected tracks: as their containers declare them,
// and as declared or else measured.
struct TrackRates {
  Total declared;
  Total seen;
};

TrackRates readTracks(const QVariantList& tracks, const MeasuredRates& measured, MediaFacts& facts) {
  TrackRates rates;
  for (const QVariant& entry : tracks) {
    const QVariantMap t = entry.toMap();
    if (!t.value(kTrackSelected).toBool()) continue;
    const QString type = t.value(kTrackType).toString();
    const QString codec = t.value(kTrackCodec).toString();
    if (type == u"video" && (t.value(kTrackImage).toBool() || t.value(kTrackAlbumArt).toBool())) {
      facts.stillImage = true;
      continue;
    }
    qint64 measuredRate = 0;
    if (type == u"video") {
      facts.videoCodec = codec;
      facts.width = t.value(kTrackWidth).toInt();
      facts.height = t.value(kTrackHeight).toInt();
      measuredRate = measured.video;
    } else if (type == u"audio") {
      facts.audioCodec = codec;
      measuredRate = measured.audio;
    } else {
      continue;
    }
    const qint64 declared = t.value(kTrackBitrate).toLongLong();
    rates.declared.add(declared);
    rates.seen.add(declared > 0 ? declared : measuredRate);
  }
  return rates;
}

}  // namespace

void ObservedMediaFacts::clear() {
  m_values.clear();
  m_openingRate.reset();
  m_inputRate = 0;
}

void ObservedMediaFacts::take(quint64 which, const QVariant& value) {
  m_values.insert(which, value);
  if (which == static_cast<quint64>(Observed::CacheState)) takeInputRate(value);
}

// mpv counts its input over windows of a second at least; its first figure
// is over the time before the entry's first window, so a figure counts once
// it differs from that one.
void ObservedMediaFacts::takeInputRate(const QVariant& cacheState) {
  const QVariant rate = cacheState.toMap().value(QLatin1String(kCacheInputRate));
  if (!rate.isValid()) return;
  const qint64 bytesPerSecond = rate.toLongLong();
  if (!m_openingRate) {
    m_openingRate = bytesPerSecond;
    return;
  }
  if (m_inputRate == 0 && bytesPerSecond == *m_openingRate) return;
  // At least 1: measured, if next to nothing.
  m_inputRate = std::max<qint64>(bytesPerSecond * 8, 1);
}

MediaFacts ObservedMediaFacts::facts() const {
  const auto value = [this](Observed which) { return m_values.value(static_cast<quint64>(which)); };
  MediaFacts facts;
  facts.container = value(Observed::FileFormat).toString();
  const TrackRates rates = readTracks(
      value(Observed::TrackList).toList(),
      {value(Observed::VideoBitrate).toLongLong(), value(Observed::AudioBitrate).toLongLong()}, facts);
  // The whole stream's: what its tracks declare, else its container's
  // average, else what mpv measured of the tracks that declare nothing.
  facts.bitrate = rates.declared.value();
  if (facts.bitrate == 0)
    facts.bitrate = containerBitrate(value(Observed::FileSize).toLongLong(),
                                     value(Observed::MediaLength).toDouble(), facts.container);
  if (facts.bitrate == 0) facts.bitrate = rates.seen.value();
  facts.silent = !facts.audioCodec.isEmpty() && holds(value(Observed::SilenceFindings),
                                                      "lavfi.silence_start", "lavfi.silence_end");
  if (!facts.videoCodec.isEmpty()) {
    facts.black = holds(value(Observed::BlackFindings), "lavfi.black_start", "lavfi.black_end");
    facts.frozen = holds(value(Observed::FreezeFindings), "lavfi.freezedetect.freeze_start",
                         "lavfi.freezedetect.freeze_end");
  }
  return facts;
}
