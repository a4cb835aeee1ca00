#pragma once

#include <QList>
#include <QString>

namespace playlists {

// A station as the command line reads, tests and stores it.
struct Station {
  QString name;
  QString address;
};

using StationList = QList<Station>;

}  // namespace playlists
