#pragma once

#include <QByteArray>
#include <QString>

#include "playlists/station.h"

namespace library {

struct SubscriptionList;

// The stations a fetched subscription source gives: its network addresses
// as the source names and groups them, less the blacklisted ones; a reason
// when it gives none.
struct SourceLines {
  playlists::StationList stations;
  int local = 0;        // entries that named a local file or another scheme
  int blacklisted = 0;
  QString reason;       // "not_a_playlist" or "empty" when no station came
};

// Reads body (any charset the readers detect) with the playlist readers; the
// address's file name helps tell the format.
SourceLines readSourceLines(const QByteArray& body, const QString& address,
                            const SubscriptionList& list);

}  // namespace library
