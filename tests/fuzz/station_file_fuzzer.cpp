#include <QFile>
#include <cstdlib>

#include "base/text_file.h"
#include "fuzz_rig.h"
#include "library/found_entries.h"
#include "playlists/station_files.h"
#include "library/station_list.h"
#include "playlists/playlist.h"

// The input as a found-stations file: the window's loader reads it, a
// station is appended, and the appended station must then be the file's last
// line, whatever the file ended with.
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
  playlists::parsePlaylist(textfile::decode(bytes), playlists::PlaylistFormat::StationLines, {});

  const QString added = QStringLiteral("fuzz,mms://fuzz/,");
  const bool known = textfile::decode(bytes).contains(added);
  library::AppendFoundEntry(f, added);
  const auto lines = textfile::readLines(path);
  if (!known && (!lines || lines->isEmpty() || lines->back() != added)) abort();
  return 0;
}
