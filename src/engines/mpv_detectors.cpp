#include "engines/mpv_detectors.h"

#include <QVariantMap>

#include "engines/mpv_names.h"
#include "engines/mpv_session.h"

using namespace mpvname;

namespace mpvdetect {

namespace {

// The labels under which the detectors report.
constexpr char kSilence[] = "silence";
constexpr char kBlack[] = "black";
constexpr char kFreeze[] = "freeze";

QByteArray seconds(int ms) { return QByteArray::number(ms / 1000.0); }

// A labelled libavfilter graph on one thread: a graph otherwise starts a
// thread per core, in every engine.
QByteArray detector(const char* label, const QByteArray& graph) {
  return QByteArray("@") + label + ":lavfi=graph=[" + graph + "]:o=[threads=1]";
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

}  // namespace

QList<std::pair<const char*, QByteArray>> filterOptions(int runMs, Picture picture) {
  const QByteArray run = seconds(runMs);
  // Judged on a small copy of the picture: black and still are as plain
  // at 160 pixels wide.
  const QByteArray small = picture == Picture::Judged ? "scale=w=160:h=-2," : "";
  return {
      {kAudioFilters, detector(kSilence, "silencedetect=n=-60dB:d=" + run)},
      {kVideoFilters, detector(kBlack, small + "blackdetect=d=0:pix_th=0.1") + "," +
                          detector(kFreeze, "freezedetect=d=" + run)},
  };
}

Findings read(const MpvSession& session, bool hasAudio, bool hasVideo) {
  Findings f;
  f.silent = hasAudio && holds(session, audioFindings(kSilence), "lavfi.silence_start",
                               "lavfi.silence_end");
  if (!hasVideo) return f;
  f.black = holds(session, videoFindings(kBlack), "lavfi.black_start", "lavfi.black_end");
  f.frozen = holds(session, videoFindings(kFreeze), "lavfi.freezedetect.freeze_start",
                   "lavfi.freezedetect.freeze_end");
  return f;
}

}  // namespace mpvdetect
