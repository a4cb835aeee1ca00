#pragma once

#include <QByteArray>
#include <QList>
#include <utility>

class MpvSession;

// libavfilter's silence, black and freeze detectors on what an engine
// decodes, each under a label of its own, and their findings.
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

// What the detectors find now; a kind of track the media lacks finds
// nothing.
struct Findings {
  bool silent = false;
  bool black = false;
  bool frozen = false;
};
Findings read(const MpvSession& session, bool hasAudio, bool hasVideo);

}  // namespace mpvdetect
