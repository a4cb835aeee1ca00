#include "playlists/playlist_import.h"

#include <QDir>
#include <QFileInfo>
#include <QSet>
#include <functional>

#include "base/text_file.h"
#include "playlists/station_files.h"
#include "playlists/playlist.h"
#include "playlists/station_file.h"

namespace playlists {

namespace {

// Known addresses by two independent hashes of their key: a million keys
// cost a few dozen MB instead of a copy of every address.
class KnownAddresses {
 public:
  // True when the address was not known yet; it is known from now on.
  bool add(const QString& address) {
    const QString key = knownAddressKey(address);
    const std::pair<size_t, size_t> hashes{qHash(key, 0x9e3779b9u), qHash(key, 0x85ebca6bu)};
    if (m_keys.contains(hashes)) return false;
    m_keys.insert(hashes);
    return true;
  }

 private:
  QSet<std::pair<size_t, size_t>> m_keys;
};

// Adds what produce gives to the station file target in one write, each
// bare address once; produce notes what it could not read in the outcome.
ImportOutcome addTo(const QString& target,
                    const std::function<void(const StationSink&, ImportOutcome&)>& produce) {
  ImportOutcome outcome;
  KnownAddresses known;
  if (!readStationFile(target, [&known](Station&& s) { known.add(s.address); })) {
    outcome.writeError = QStringLiteral("无法读取 %1 / cannot read %1").arg(target);
    return outcome;
  }
  QString lines;
  int added = 0;
  produce(
      [&](Station&& s) {
        if (!known.add(s.address)) {
          ++outcome.alreadyThere;
          return;
        }
        lines += stationFileLine(s) + QStringLiteral("\r\n");
        ++added;
      },
      outcome);
  if (lines.isEmpty()) return outcome;
  // The lines are new by their keys already: written as they are, in one go.
  const auto written = QFileInfo::exists(target) ? textfile::append(target, lines)
                                                 : textfile::write(target, lines);
  if (!written) {
    outcome.writeError =
        QStringLiteral("无法写入 %1：%2 / cannot write %1: %2").arg(target, written.error);
    return outcome;
  }
  outcome.added = added;
  return outcome;
}

}  // namespace

ImportOutcome importPlaylists(const QString& programDir, const QStringList& files) {
  return addTo(QDir(programDir).filePath(library::kFoundFile),
               [&](const StationSink& add, ImportOutcome& outcome) {
                 for (const QString& file : files) {
                   const auto playlist = readPlaylist(file, add);
                   if (!playlist) {
                     outcome.skipped.append(
                         {file, 0, QStringLiteral("无法读取 / cannot read the file")});
                     continue;
                   }
                   for (const SkippedEntry& s : playlist->skipped)
                     outcome.skipped.append({file, s.line, s.reason});
                 }
               });
}

ImportOutcome addStations(const QString& target, const StationList& stations) {
  return addTo(target, [&](const StationSink& add, ImportOutcome&) {
    for (Station s : stations) add(std::move(s));
  });
}

}  // namespace playlists
