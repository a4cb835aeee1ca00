#pragma once

#include <QList>
#include <QString>

namespace playlists {

// A station as the command line reads, tests and stores it.
struct Station {
  QString name;
  QString address;  // the whole text: the bare address and any "|" header suffix
  QString group;    // the list's group or genre; "" when it names none
};

using StationList = QList<Station>;

}  // namespace playlists
