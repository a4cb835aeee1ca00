#pragma once

#include <QList>
#include <QString>
#include <QStringList>

#include "playlists/station_files.h"

namespace library {

// One source: "名称,address|Name=value&…" or the address alone; the
// headers go with every request for the list.
struct Subscription {
  QString name;     // the given name, or the address when none was given
  QString address;  // the whole text, headers included
  bool trusted = false;  // whitelisted: ranked first and not checked
};

// subscribe.txt: sources one a line, "#" starts a comment. Lines under
// "[blacklist]" are words: a station whose name or address holds one is
// never added. Lines under "[whitelist]" name sources (by name or address)
// whose lines are trusted. "[sources]" goes back to sources.
struct SubscriptionList {
  QList<Subscription> sources;
  QStringList blacklist;
  QStringList problems;  // "line 4: …" for lines that could not be used

  // True when a station's name or address holds a blacklisted word,
  // case-blind.
  bool isBlacklisted(const QString& name, const QString& address) const;
};

SubscriptionList parseSubscriptions(const QString& text);

}  // namespace library
