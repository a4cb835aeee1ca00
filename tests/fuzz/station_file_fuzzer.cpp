#include <QFile>
#include <cstdlib>

#include "base/text_file.h"
#include "fuzz_rig.h"
#include "library/found_entries.h"
#include "playlists/station_files.h"
#include "library/station_list.h"
#include "playlists/playlist.h"
#include "station_oracle.h"

// The input as a found-stations file: the window's loader and the command
// line's reader read it, and every station the reader gives must be stored
// and exported without change; then a station is appended, which must be
// the file's last line, whatever the file ended with.
extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  Form& f = fuzzRig().f;
  const QByteArray bytes = fuzzBytes(data, size);
  const QString path = f.path(library::kFoundFile);
  QFile file(path);
  if (!file.open(QIODevice::WriteOnly | QIODevice::Truncate) || file.write(bytes) != bytes.size())
    abort();
  file.close();
  f.tvm.clear();
  f.dz1.clear();
  library::LoadStationList(f, library::kFoundFile);
  oracle::expectRoundTrips(
      playlists::parsePlaylist(textfile::decode(bytes), playlists::PlaylistFormat::StationLines, {}),
      {});

  const QString added = QStringLiteral("fuzz,mms://fuzz/,");
  const bool known = textfile::decode(bytes).contains(added);
  library::AppendFoundEntry(f, added);
  const auto lines = textfile::readLines(path);
  oracle::check(known || (lines && !lines->isEmpty() && lines->back() == added),
                "the appended station is not the last line");
  return 0;
}
