#include "playback/position_files.h"

#include <limits>

#include "form/form.h"
#include "base/text_file.h"
#include "base/vb_text.h"
#include "playlists/station_files.h"

namespace playback {

namespace {

void savePosition(Form& f, const QString& fileName, qint32 index) {
  // Before the first play there is no engine to record; the file stays.
  if (f.PlayerKind != u"real" && f.PlayerKind != u"win") return;
  const QString path = f.path(fileName);
  f.writes.check(path, textfile::writeLines(path, {f.PlayerKind, QString::number(index)}));
}

}  // namespace

void SaveLastPlayed(Form& f, qint32 index) { savePosition(f, library::kLastPlayedFile, index); }

void SaveRunPosition(Form& f, qint32 index) { savePosition(f, library::kRunPositionFile, index); }

int ReadLastPlayed(Form& f) {
  const auto lines = textfile::readLines(f.path(library::kLastPlayedFile));
  if (!lines || lines->size() < 2) return 1;
  const auto number = vb::toNumber(lines->at(1));
  if (!number) return 1;
  const double rounded = vb::roundHalfEven(*number);
  if (rounded < std::numeric_limits<qint32>::min() || rounded > std::numeric_limits<qint32>::max())
    return 1;
  f.StationIndex = static_cast<qint32>(rounded);
  return 1;
}

}  // namespace playback
