#pragma once

#include <QSet>
#include <QString>

#include "base/text_file.h"
#include "library/line_appender.h"
#include "playlists/station.h"

namespace library {

// Stores stations in a station file as they are found, one line per request:
// a station whose request (bare address and headers) the file holds already,
// under whatever name, is not written again. The file is read once, at
// open(); each station costs one appended line.
class StationAppender {
 public:
  explicit StationAppender(const QString& path);
  // Fails when the file cannot be read or opened for writing.
  textfile::WriteResult open();
  // True when the file holds the station's request, read or written.
  bool holds(const playlists::Station& s) const;
  // Appends the station's line unless the file holds its request.
  textfile::WriteResult append(const playlists::Station& s);
  const QString& path() const { return m_lines.path(); }

 private:
  LineAppender m_lines;
  QSet<QString> m_requests;
};

}  // namespace library
