#pragma once

#include <QByteArray>
#include <QList>
#include <utility>

// libavfilter's silence, black and freeze detectors on what an engine
// decodes, each under a label of its own (mpvname::kSilenceLabel and its
// kin); ObservedMediaFacts reads their findings.
namespace mpvdetect {

// What becomes of the picture the detectors look at.
enum class Picture {
  Judged,  // only judged: it is looked at as a small copy, which is what passes on
  Shown,   // shown as well: it passes on as it came
};

// The audio and video filter options that run the detectors: silence and a
// still picture are found once they have lasted runMs of media, a black
// picture at its first frame.
QList<std::pair<const char*, QByteArray>> filterOptions(int runMs, Picture picture = Picture::Judged);

}  // namespace mpvdetect
