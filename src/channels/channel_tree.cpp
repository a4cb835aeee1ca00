#include "channels/channel_tree.h"

#include <QDir>

#include "channels/channel_grouping.h"
#include "channels/ranked_channels.h"
#include "history/health_db.h"
#include "history/line_key.h"
#include "playlists/channel_aliases.h"
#include "playlists/station_file.h"
#include "playlists/station_files.h"

namespace channels {

namespace {

// The window's entries as stations, and the first entry of each.
struct ListedLines {
  playlists::StationList stations;
  QHash<QString, int> entryOf;  // by entryKey
};

QString entryKey(const playlists::Station& s) { return s.name + u'\n' + s.address; }

ListedLines listLines(const QStringList& names, const QStringList& addresses,
                      const QHash<QString, LineNote>& notes) {
  ListedLines listed;
  const int count = static_cast<int>(qMin(names.size(), addresses.size()));
  for (int i = 0; i < count; ++i) {
    const QString& address = addresses[i];
    if (address == library::kSeparator || address.trimmed().isEmpty()) continue;
    playlists::Station s{names[i], address, notes.value(history::lineKey(address)).group, {}};
    if (const QString key = entryKey(s); !listed.entryOf.contains(key)) listed.entryOf.insert(key, i);
    listed.stations.append(std::move(s));
  }
  return listed;
}

QString logoOf(const Channel& c, const QHash<QString, LineNote>& notes) {
  for (const QString& line : c.lineKeys)
    if (const QString logo = notes.value(line).logo; !logo.isEmpty()) return logo;
  return {};
}

QList<playlists::SearchableName> searchableNames(const Channel& c) {
  QStringList names{c.name};
  for (const playlists::Station& s : c.lines)
    if (!names.contains(s.name)) names << s.name;
  QList<playlists::SearchableName> searchable;
  for (const QString& name : names) searchable << playlists::SearchableName::ofName(name, c.key);
  return searchable;
}

TreeChannel treeChannel(const Channel& c, const ListedLines& listed,
                        const QHash<QString, LineNote>& notes,
                        const QHash<QString, history::LineSummary>& summaries,
                        const QDateTime& now) {
  // Every line is shown, the stale ones last.
  const RankOptions everyLine{0, true, {}};
  const RankedChannel ranked = rankChannels({c}, summaries, now, everyLine).value(0);
  TreeChannel out{ranked.name, logoOf(c, notes), {}, searchableNames(c)};
  for (const RankedLine& line : ranked.lines) {
    const auto known = summaries.constFind(history::lineKey(line.station.address));
    out.lines.append({listed.entryOf.value(entryKey(line.station), -1), line.station, line.record,
                      known == summaries.cend() ? history::LineVerdict{} : known->last});
  }
  return out;
}

playlists::QueryMatch bestMatch(const TreeChannel& c, const playlists::NameQuery& query) {
  playlists::QueryMatch best = playlists::QueryMatch::None;
  for (const playlists::SearchableName& name : c.names) {
    best = std::max(best, query.match(name));
    if (best == playlists::QueryMatch::Start) break;
  }
  return best;
}

}  // namespace

QHash<QString, LineNote> stationFileNotes(const QString& programDir) {
  QHash<QString, LineNote> notes;
  const QDir dir(programDir);
  for (const QString& file :
       {library::kFoundFile, library::kScannedFile, library::kExtraResultsFile, library::kLibraryFile})
    (void)playlists::readStationFile(dir.filePath(file), [&notes](playlists::Station&& s) {
      if (const QString line = history::lineKey(s.address); !notes.contains(line))
        notes.insert(line, {s.group, s.tags.tvgLogo});
    });
  return notes;
}

QList<TreeGroup> buildChannelTree(const QStringList& names, const QStringList& addresses,
                                  const QHash<QString, LineNote>& notes,
                                  const playlists::ChannelNames& channelNames,
                                  const history::HealthDb& db, const QDateTime& now) {
  const ListedLines listed = listLines(names, addresses, notes);
  const QList<Channel> channels = groupChannels(listed.stations, channelNames);
  const auto summaries = db.summaries(lineKeysOf(channels));
  QList<TreeGroup> tree;
  for (const Channel& c : channels) {
    // Channels come group by group.
    if (tree.isEmpty() || tree.last().name != c.group) tree.append({c.group, {}});
    tree.last().channels.append(treeChannel(c, listed, notes, summaries, now));
  }
  return tree;
}

QList<TreeGroup> loadChannelTree(const QString& programDir, const QStringList& names,
                                 const QStringList& addresses, const QDateTime& now) {
  history::HealthDb db;
  // Without a history every line counts as never checked.
  (void)db.open(programDir);
  return buildChannelTree(names, addresses, stationFileNotes(programDir),
                          playlists::ChannelNames::forFolder(programDir), db, now);
}

QList<FoundGroup> findChannels(const QList<TreeGroup>& tree, const playlists::NameQuery& query) {
  QList<FoundGroup> found;
  for (int g = 0; g < tree.size(); ++g) {
    QList<int> starting;
    QList<int> inside;
    for (int c = 0; c < tree[g].channels.size(); ++c) {
      const playlists::QueryMatch match = bestMatch(tree[g].channels[c], query);
      if (match == playlists::QueryMatch::Start) starting << c;
      if (match == playlists::QueryMatch::Inside) inside << c;
    }
    if (!starting.isEmpty() || !inside.isEmpty()) found.append({g, starting + inside});
  }
  return found;
}

}  // namespace channels
