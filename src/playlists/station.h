#pragma once

#include <QList>
#include <QString>

namespace playlists {

// What an M3U says of a station for players' programme guides and logos.
struct GuideTags {
  QString tvgId;
  QString tvgName;
  QString tvgLogo;
  QString guideUrl;  // the playlist's x-tvg-url (or url-tvg)

  bool isEmpty() const {
    return tvgId.isEmpty() && tvgName.isEmpty() && tvgLogo.isEmpty() && guideUrl.isEmpty();
  }
  bool operator==(const GuideTags&) const = default;
};

// A station as the command line reads, tests and stores it.
struct Station {
  QString name;
  QString address;  // the whole text: the bare address and any "|" header suffix
  QString group;    // the list's group or genre; "" when it names none
  GuideTags tags = {};
};

using StationList = QList<Station>;

}  // namespace playlists
