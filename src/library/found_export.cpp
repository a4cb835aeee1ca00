#include "library/found_export.h"

#include <QDir>
#include <QFileInfo>

#include "base/text_file.h"
#include "playlists/playlist_export.h"
#include "playlists/station_file.h"
#include "playlists/station_files.h"

namespace library {

namespace {

// Beyond this many links in a row the path is taken as it stands (a loop).
constexpr int kMaxLinks = 40;

// The file a write to path reaches: its links followed, then its folder's.
QFileInfo reachedFile(const QString& path) {
  QFileInfo file(path);
  for (int i = 0; i < kMaxLinks && file.isSymLink(); ++i) file = QFileInfo(file.symLinkTarget());
  const QString folder = QFileInfo(file.absolutePath()).canonicalFilePath();
  return folder.isEmpty() ? file : QFileInfo(QDir(folder).filePath(file.fileName()));
}

}  // namespace

bool isProgramFile(const QString& path, const QString& programDir) {
  const QFileInfo reached = reachedFile(path);
  return reached.absolutePath() == QFileInfo(programDir).canonicalFilePath() &&
         isProgramFileName(reached.fileName());
}

FoundExport exportFoundStations(const QString& programDir, const QString& target) {
  FoundExport done;
  done.source = QDir(programDir).filePath(kFoundFile);
  // An M3U8 written over a station file or a list the program reads would
  // leave a file its loaders cannot read.
  if (isProgramFile(target, programDir)) {
    done.result = FoundExport::Result::ProgramFile;
    return done;
  }
  const auto found = playlists::readStationFile(done.source);
  if (!found) {
    done.result = FoundExport::Result::CannotRead;
    return done;
  }
  done.skipped = found->skipped;
  if (const auto written = textfile::writeBytes(target, playlists::toM3u8(found->stations).toUtf8());
      !written) {
    done.result = FoundExport::Result::CannotWrite;
    done.error = written.error;
    return done;
  }
  done.stations = static_cast<int>(found->stations.size());
  return done;
}

}  // namespace library
