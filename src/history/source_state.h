#pragma once

#include <QDateTime>
#include <QString>

namespace history {

// What is remembered of a subscription's source between fetches.
struct SourceState {
  QString address;
  QString etag;
  QString lastModified;  // the Last-Modified header as the server sent it
  QDateTime fetched;  // the last fetch, UTC
  QString result;  // "ok", "unchanged", "failed" …
  QString reason;  // why it failed; empty otherwise
  int linesRead = 0;

  bool operator==(const SourceState&) const = default;
};

}  // namespace history
