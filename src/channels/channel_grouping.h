#pragma once

#include <QList>
#include <QString>

#include "playlists/station.h"

namespace playlists {
class ChannelNames;
}

namespace channels {

// A channel is not stored: it is the stations whose names give one channel
// key. Its name is the canonical one, its group that of its first line.
struct Channel {
  QString key;
  QString name;
  QString group;
  playlists::StationList lines;  // in list order, each request once
  QStringList lineKeys;          // history::lineKey of each line
};

// The channels of stations, in the order their first lines stand, grouped by
// group in the order groups first appear. A line listed twice (the same
// address with the same headers) is kept once.
QList<Channel> groupChannels(const playlists::StationList& stations,
                             const playlists::ChannelNames& names);

}  // namespace channels
