#include <QDir>

#include "base/text_file.h"
#include "cli/commands.h"
#include "cli/console.h"
#include "cli/found_station_writer.h"
#include "library/station_files.h"

namespace cli {

namespace {

// An M3U8 playlist: UTF-8, one #EXTINF line with the name before each address.
QByteArray m3u8(const playlists::StationList& stations) {
  QString text = QStringLiteral("#EXTM3U\n");
  for (const playlists::Station& s : stations)
    text += QStringLiteral("#EXTINF:-1,%1\n%2\n").arg(s.name, s.address);
  return text.toUtf8();
}

}  // namespace

int runExport(const CommandLine& c, const QString& dir, Console& console) {
  const QString source = QDir(dir).filePath(library::kFoundFile);
  const auto stations = readStationFile(source);
  if (!stations) {
    console.error(QStringLiteral("无法读取 %1 / cannot read %1").arg(source));
    return kExitBadInput;
  }
  const QString& target = c.files.first();
  if (const auto written = textfile::writeBytes(target, m3u8(*stations)); !written) {
    console.error(cannotWrite(target, written.error));
    return kExitBadInput;
  }
  console.print(QStringLiteral("导出 %1 个电台到 %2 / exported %1 stations to %2")
                    .arg(stations->size())
                    .arg(target));
  return kExitDone;
}

}  // namespace cli
