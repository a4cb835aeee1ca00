#include <QDir>

#include "cli/commands.h"
#include "cli/console.h"
#include "cli/found_station_writer.h"
#include "cli/skipped_report.h"
#include "library/station_files.h"

namespace cli {

int runImport(const CommandLine& c, const QString& dir, Console& console) {
  const QString& file = c.files.first();
  const auto playlist = playlists::readPlaylist(file);
  if (!playlist) {
    console.error(QStringLiteral("无法读取 %1 / cannot read %1").arg(file));
    return kExitBadInput;
  }
  reportSkipped(console, file, playlist->skipped);
  const QString target = QDir(dir).filePath(library::kFoundFile);
  const AppendOutcome outcome = appendStations(target, playlist->stations);
  if (!outcome.error.isEmpty()) {
    console.error(cannotWrite(target, outcome.error));
    return kExitBadInput;
  }
  console.print(QStringLiteral("导入 %1 个电台，重复 %2 个，跳过 %3 项 / imported %1 stations, "
                               "%2 duplicates, %3 entries skipped")
                    .arg(outcome.added)
                    .arg(outcome.duplicates)
                    .arg(playlist->skipped.size()));
  return kExitDone;
}

}  // namespace cli
