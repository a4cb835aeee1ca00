#include "library/station_appender.h"

#include "playlists/station_file.h"
#include "playlists/station_files.h"

namespace library {

StationAppender::StationAppender(const QString& path) : m_lines(path) {}

textfile::WriteResult StationAppender::open() {
  const auto stored = playlists::readStationFile(path());
  if (!stored) return {QStringLiteral("the file cannot be read")};
  for (const playlists::Station& s : stored->stations) m_requests.insert(playlists::requestKey(s.address));
  return m_lines.open();
}

bool StationAppender::holds(const playlists::Station& s) const {
  return m_requests.contains(playlists::requestKey(s.address));
}

textfile::WriteResult StationAppender::append(const playlists::Station& s) {
  if (holds(s)) return {};
  textfile::WriteResult written = m_lines.append(stationLine(s.name, s.address));
  if (written) m_requests.insert(playlists::requestKey(s.address));
  return written;
}

}  // namespace library
