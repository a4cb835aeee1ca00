#include <QDir>
#include <QFileInfo>

#include "cli/commands.h"
#include "cli/console.h"
#include "cli/skipped_report.h"
#include "playlists/station_files.h"
#include "playlists/playlist_export.h"
#include "playlists/station_file.h"
#include "base/text_file.h"

namespace cli {

namespace {

// An M3U8 written over a station file or the marker lists would leave the
// window a file its loader cannot read.
bool isProgramFile(const QString& target, const QString& dir) {
  const QFileInfo info(target);
  const QString folder = QFileInfo(info.absolutePath()).canonicalFilePath();
  return folder == QFileInfo(dir).canonicalFilePath() && library::isProgramFileName(info.fileName());
}

}  // namespace

int runExport(const CommandLine& c, const QString& dir, Console& console) {
  const QString& target = c.files.first();
  if (isProgramFile(target, dir)) {
    console.error(QStringLiteral("%1 是程序自己的文件，不能用作导出目标 / %1 is one of the "
                                 "program's own files and cannot be an export target")
                      .arg(target));
    return kExitBadInput;
  }
  const QString source = QDir(dir).filePath(library::kFoundFile);
  const auto read = playlists::readStationFile(source);
  if (!read) {
    console.error(QStringLiteral("无法读取 %1 / cannot read %1").arg(source));
    return kExitBadInput;
  }
  const playlists::Playlist& found = *read;
  reportSkipped(console, source, found.skipped);
  if (const auto written = textfile::writeBytes(target, playlists::toM3u8(found.stations).toUtf8());
      !written) {
    console.error(cannotWrite(target, written.error));
    return kExitBadInput;
  }
  console.print(QStringLiteral("导出 %1 个电台到 %2，跳过 %3 项 / exported %1 stations to %2, "
                               "%3 entries skipped")
                    .arg(found.stations.size())
                    .arg(target)
                    .arg(found.skipped.size()));
  return kExitDone;
}

}  // namespace cli
