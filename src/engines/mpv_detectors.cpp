#include "engines/mpv_detectors.h"

#include "engines/mpv_names.h"

using namespace mpvname;

namespace mpvdetect {

namespace {

QByteArray seconds(int ms) { return QByteArray::number(ms / 1000.0); }

// A labelled libavfilter graph on one thread: a graph otherwise starts a
// thread per core, in every engine.
QByteArray detector(const char* label, const QByteArray& graph) {
  return QByteArray("@") + label + ":lavfi=graph=[" + graph + "]:o=[threads=1]";
}

}  // namespace

QList<std::pair<const char*, QByteArray>> filterOptions(int runMs, Picture picture) {
  const QByteArray run = seconds(runMs);
  // Judged on a small copy of the picture: black and still are as plain at
  // 160 pixels wide. Each of its pixels averages those it covers, which
  // costs less than the default scaling and evens out noise.
  const QByteArray small = picture == Picture::Judged ? "scale=w=160:h=-2:flags=area," : "";
  return {
      {kAudioFilters, detector(kSilenceLabel, "silencedetect=n=-60dB:d=" + run)},
      {kVideoFilters, detector(kBlackLabel, small + "blackdetect=d=0:pix_th=0.1") + "," +
                          detector(kFreezeLabel, "freezedetect=d=" + run)},
  };
}

}  // namespace mpvdetect
