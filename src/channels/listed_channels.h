#pragma once

#include <QHash>
#include <QList>
#include <QString>

#include "playlists/channel_aliases.h"
#include "playlists/station.h"

class Form;

namespace channels {

// The channels of the window's station lists (names in tvm, addresses in
// dz1), for playing one of them by its name. The keys are worked out again
// only when the lists were loaded anew or changed in length.
class ListedChannels {
 public:
  explicit ListedChannels(playlists::ChannelNames names) : m_names(std::move(names)) {}

  // The lines of the channel the name belongs to, in list order, each
  // request once: only lines the media player plays (no separator, no real
  // media address, no wrapper page).
  playlists::StationList linesOf(const Form& f, const QString& name);

 private:
  void index(const Form& f);

  playlists::ChannelNames m_names;
  QHash<QString, QList<int>> m_entries;  // by channel key
  quint64 m_loads = 0;
  int m_count = -1;
};

}  // namespace channels
