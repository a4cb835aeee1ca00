#pragma once

#include <QList>
#include <QObject>
#include <QTimer>
#include <optional>

#include "playlists/channel_aliases.h"
#include "playlists/name_query.h"

class ListControl;

// Finds the entries of a list that match a typed text, for the window's
// filter (see playlists::NameQuery): station names also by channel key and
// pinyin, the entries matched at the start first, each group in list order.
// Follows the list's edits. What is compared is made once per entry: entries
// appended are made ready while the program is idle, in short slices, and
// the next search makes whatever is still missing, so a keystroke only
// searches and no entry is made twice.
class StationFinder : public QObject {
  Q_OBJECT
 public:
  // A list of station names, whose channel keys come from names.
  StationFinder(const ListControl& list, const playlists::ChannelNames& names,
                QObject* parent = nullptr);
  // A list of other texts (addresses), found by substring alone.
  explicit StationFinder(const ListControl& list, QObject* parent = nullptr);

  // At most limit indexes of the list.
  QList<int> find(const QString& text, int limit);

 private:
  playlists::SearchableName searchable(int index) const;
  // Makes the entries not yet made, for at most budgetMs when it is not
  // negative; true when none is left.
  bool makeAppended(qint64 budgetMs);

  const ListControl& m_list;
  std::optional<playlists::ChannelNames> m_channels;  // for a list of names
  QList<playlists::SearchableName> m_names;  // of the first entries of the list
  QTimer m_idle;
};
