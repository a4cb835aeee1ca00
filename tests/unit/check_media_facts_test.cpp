// What the check engine makes of the properties mpv reports for an entry:
// the whole stream's bitrate, never one track's alone, and mpv's input rate
// once a whole second of reading has been counted.
#include <gtest/gtest.h>

#include <QVariantMap>

#include "engines/mpv_media_facts.h"
#include "engines/mpv_names.h"

namespace {

using mpvname::Observed;

QVariantMap track(const char* type, const char* codec, qint64 declaredBitrate = 0) {
  QVariantMap t{{"type", type}, {"codec", codec}, {"selected", true}};
  if (declaredBitrate > 0) t.insert("demux-bitrate", declaredBitrate);
  return t;
}

QVariantMap videoTrack(qint64 declaredBitrate = 0) {
  QVariantMap t = track("video", "h264", declaredBitrate);
  t.insert("demux-w", 640);
  t.insert("demux-h", 360);
  return t;
}

QVariantMap coverArt() {
  QVariantMap t = track("video", "mjpeg");
  t.insert("albumart", true);
  return t;
}

void take(ObservedMediaFacts& facts, Observed which, const QVariant& value) {
  facts.take(static_cast<quint64>(which), value);
}

QVariantMap cacheState(qint64 inputBytesPerSecond) {
  return {{"raw-input-rate", inputBytesPerSecond}, {"fw-bytes", 4096}};
}

}  // namespace

TEST(ObservedMediaFacts, TheBitrateIsTheWholeStreams) {
  const struct {
    const char* name;
    QString container;
    QVariantList tracks;
    QVariant size, duration, measuredVideo, measuredAudio;
    qint64 bitrate;
  } cases[] = {
      {"tracks that declare theirs", "mp3", {track("audio", "mp3", 32000)}, 8482, 2.06, {}, {}, 32000},
      {"a file whose video declares none: its average, not the sound's",
       "mpegts", {videoTrack(), track("audio", "aac", 66000)}, 202500, 3.0, {}, {}, 540000},
      {"a live stream: what mpv measured of the video, and the sound's",
       "mpegts", {videoTrack(), track("audio", "aac", 66000)}, {}, {}, 474000, 70000, 540000},
      {"a live stream whose video was not measured yet: unknown",
       "mpegts", {videoTrack(), track("audio", "aac", 66000)}, {}, {}, {}, 70000, 0},
      {"HLS: the size is the playlist's", "hls,applehttp",
       {track("audio", "aac")}, 300, 10.0, {}, 64000, 64000},
      {"cover art is no video", "mp3", {coverArt(), track("audio", "mp3", 128000)}, {}, {}, {}, {},
       128000},
  };
  for (const auto& c : cases) {
    ObservedMediaFacts observed;
    take(observed, Observed::FileFormat, c.container);
    take(observed, Observed::TrackList, c.tracks);
    take(observed, Observed::FileSize, c.size);
    take(observed, Observed::MediaLength, c.duration);
    take(observed, Observed::VideoBitrate, c.measuredVideo);
    take(observed, Observed::AudioBitrate, c.measuredAudio);
    EXPECT_EQ(observed.facts().bitrate, c.bitrate) << c.name;
  }
}

TEST(ObservedMediaFacts, TracksAndFindingsOfTheEntry) {
  ObservedMediaFacts observed;
  take(observed, Observed::FileFormat, "mpegts");
  take(observed, Observed::TrackList, QVariantList{videoTrack(), coverArt(), track("audio", "aac")});
  take(observed, Observed::SilenceFindings, QVariantMap{{"lavfi.silence_start", "0"}});
  take(observed, Observed::BlackFindings,
       QVariantMap{{"lavfi.black_start", "0"}, {"lavfi.black_end", "1.2"}});
  take(observed, Observed::FreezeFindings, QVariantMap{{"lavfi.freezedetect.freeze_start", "0.5"}});
  MediaFacts facts = observed.facts();
  EXPECT_EQ(facts.container, "mpegts");
  EXPECT_EQ(facts.videoCodec, "h264");
  EXPECT_EQ(facts.width, 640);
  EXPECT_EQ(facts.height, 360);
  EXPECT_EQ(facts.audioCodec, "aac");
  EXPECT_TRUE(facts.stillImage);
  EXPECT_TRUE(facts.silent);
  EXPECT_FALSE(facts.black);  // it ended
  EXPECT_TRUE(facts.frozen);

  // A new entry knows nothing of the last.
  observed.clear();
  facts = observed.facts();
  EXPECT_FALSE(facts.hasMedia());
  EXPECT_FALSE(facts.flagged());
  EXPECT_TRUE(facts.container.isEmpty());
}

// mpv's first figure of an entry covers time before the entry; a figure
// counts once it differs from that one, and the latest one counts.
TEST(ObservedMediaFacts, TheInputRateCountsFromTheSecondFigure) {
  const struct {
    const char* name;
    QVariantList states;
    qint64 bitsPerSecond;
  } cases[] = {
      {"no demuxer yet", {QVariant()}, 0},
      {"only the first figure", {QVariant(), cacheState(2506)}, 0},
      {"the first figure again", {cacheState(2506), cacheState(2506)}, 0},
      {"a whole second", {QVariant(), cacheState(2506), cacheState(623503)}, 623503 * 8},
      {"the latest second", {cacheState(2506), cacheState(5893), cacheState(10000)}, 80000},
      {"a second like the first", {cacheState(2506), cacheState(9000), cacheState(2506)}, 2506 * 8},
      {"a state without a figure", {cacheState(2506), QVariantMap{{"fw-bytes", 0}}}, 0},
      {"a second with nothing read", {cacheState(2506), cacheState(0)}, 1},
  };
  for (const auto& c : cases) {
    ObservedMediaFacts observed;
    for (const QVariant& state : c.states) take(observed, Observed::CacheState, state);
    EXPECT_EQ(observed.inputRate(), c.bitsPerSecond) << c.name;
    observed.clear();
    take(observed, Observed::CacheState, cacheState(7000));
    EXPECT_EQ(observed.inputRate(), 0) << c.name << ", then a new entry";
  }
}
