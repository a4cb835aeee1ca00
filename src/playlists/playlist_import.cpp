#include "playlists/playlist_import.h"

#include <QDir>
#include <QFileInfo>
#include <QHash>
#include <functional>

#include "base/file_lock.h"
#include "base/text_file.h"
#include "playlists/key_set.h"
#include "playlists/playlist.h"
#include "playlists/station_address.h"
#include "playlists/station_file.h"
#include "playlists/station_files.h"

namespace playlists {

namespace {

// Known addresses by their key's hashes (KeySet), each with its place: the
// new station it is, or whether its stored line has headers.
class KnownAddresses {
 public:
  static constexpr qsizetype kStoredBare = -1;   // a stored line without headers
  static constexpr qsizetype kWithHeaders = -2;  // a line with headers: nothing to add

  // The place where the address was first seen; nothing when it is new, and
  // then it is known at `place` from now on.
  std::optional<qsizetype> seen(const QString& key, qsizetype place) {
    const Hashes hashes = hashesOf(key);
    const auto it = m_places.constFind(hashes);
    if (it != m_places.cend()) return it.value();
    m_places.insert(hashes, place);
    return std::nullopt;
  }
  void setPlace(const QString& key, qsizetype place) { m_places.insert(hashesOf(key), place); }

 private:
  using Hashes = KeySet::Hash;
  static Hashes hashesOf(const QString& key) { return KeySet::hashOf(key); }
  QHash<Hashes, qsizetype> m_places;
};

bool hasHeaders(const QString& address) { return address.contains(u'|'); }

// The stored line with the imported headers on its address; nothing for a
// line that is no station without headers, or whose address got none.
std::optional<QString> withImportedHeaders(const QString& line,
                                           const QHash<QString, QString>& headersByKey) {
  const auto parsed = parsePlaylist(line, PlaylistFormat::StationLines, {});
  if (parsed.stations.size() != 1 || hasHeaders(parsed.stations.first().address))
    return std::nullopt;
  const auto headers = headersByKey.find(knownAddressKey(parsed.stations.first().address));
  if (headers == headersByKey.end()) return std::nullopt;
  // Only the address field changes: name, group and the rest stay as they are.
  const qsizetype c1 = line.indexOf(u',');
  qsizetype c2 = line.indexOf(u',', c1 + 1);
  if (c2 < 0) c2 = line.size();
  return line.left(c1 + 1) + bareAddress(line.mid(c1 + 1, c2 - c1 - 1).trimmed()) + *headers +
         line.mid(c2);
}

// What an import is about to write.
struct Changes {
  StationList added;
  QHash<QString, QString> headersByKey;  // the "|…" suffix a stored line gets
};

// Takes one imported station: a new one is added; headers for a known
// address that has none go onto its line, stored or new.
void take(Station&& s, KnownAddresses& known, Changes& changes, ImportOutcome& outcome) {
  const QString key = knownAddressKey(s.address);
  const bool headers = hasHeaders(s.address);
  const auto place =
      known.seen(key, headers ? KnownAddresses::kWithHeaders : changes.added.size());
  if (!place) return changes.added.append(std::move(s));
  if (!headers || *place == KnownAddresses::kWithHeaders) {
    ++outcome.alreadyThere;
    return;
  }
  known.setPlace(key, KnownAddresses::kWithHeaders);
  const QString suffix = s.address.mid(s.address.indexOf(u'|'));
  if (*place >= 0) {
    changes.added[*place].address = bareAddress(changes.added[*place].address) + suffix;
    ++outcome.alreadyThere;
    return;
  }
  changes.headersByKey.insert(key, suffix);
  ++outcome.headersAdded;
}

// Adds what produce gives to the station file target in one write: new
// stations after the stored ones, headers onto stored lines that had none.
// produce notes in the outcome what it could not read. The lists are read
// first: the target is locked only while it is read and written, so another
// process appending to it meanwhile loses nothing.
ImportOutcome importInto(const QString& target,
                         const std::function<void(const StationSink&, ImportOutcome&)>& produce) {
  ImportOutcome outcome;
  StationList incoming;
  produce([&incoming](Station&& s) { incoming.append(std::move(s)); }, outcome);
  const textfile::FileLock lock(target);
  if (!lock) {
    outcome.writeError =
        QStringLiteral("无法写入 %1：%2 / cannot write %1: %2").arg(target, lock.error());
    return outcome;
  }
  KnownAddresses known;
  const auto stored = readStationFile(target, [&known](Station&& s) {
    const QString key = knownAddressKey(s.address);
    if (hasHeaders(s.address))
      known.setPlace(key, KnownAddresses::kWithHeaders);
    else
      known.seen(key, KnownAddresses::kStoredBare);
  });
  if (!stored) {
    outcome.writeError = QStringLiteral("无法读取 %1 / cannot read %1").arg(target);
    return outcome;
  }
  Changes changes;
  for (Station& s : incoming) take(std::move(s), known, changes, outcome);
  QString lines;
  for (const Station& s : changes.added) lines += stationFileLine(s) + QStringLiteral("\r\n");
  if (lines.isEmpty() && changes.headersByKey.isEmpty()) return outcome;
  // One write: the stored lines that get headers in place, the new ones after them.
  textfile::LineEdit edit;
  if (!changes.headersByKey.isEmpty())
    edit = [&changes](const QString& line) { return withImportedHeaders(line, changes.headersByKey); };
  const auto written = QFileInfo::exists(target) ? textfile::editLines(target, edit, lines)
                                                 : textfile::write(target, lines);
  if (!written) {
    outcome.writeError =
        QStringLiteral("无法写入 %1：%2 / cannot write %1: %2").arg(target, written.error);
    outcome.headersAdded = 0;
    return outcome;
  }
  outcome.added = static_cast<int>(changes.added.size());
  return outcome;
}

}  // namespace

ImportOutcome importPlaylists(const QString& programDir, const QStringList& files) {
  return importInto(QDir(programDir).filePath(library::kFoundFile),
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
  return importInto(target, [&](const StationSink& add, ImportOutcome&) {
    for (Station s : stations) add(std::move(s));
  });
}

}  // namespace playlists
