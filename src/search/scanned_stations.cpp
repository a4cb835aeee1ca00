#include "search/scanned_stations.h"

#include "form/form.h"
#include "base/text_file.h"
#include "playlists/station_files.h"
#include "playlists/station_address.h"

namespace search {

void RecordScannedStation(Form& f, const QString& line) {
  f.writes.appendLines(f.path(library::kScannedFile), {line});
}

ScannedStationBatch::ScannedStationBatch(Form& f) : m_f(f) { m_sinceWrite.start(); }

void ScannedStationBatch::add(const QString& name, const QString& address) {
  const QString line = library::stationLine(name, address);
  if (m_taken.contains(line)) return;
  m_taken.insert(line);
  const QString bare = playlists::bareAddress(address);
  m_found.append({line, bare == address ? QString() : u',' + bare + u'|'});
}

void ScannedStationBatch::write() {
  m_sinceWrite.restart();
  if (m_found.isEmpty()) return;
  const QString path = m_f.path(library::kScannedFile);
  // The same stream found before on another page is in the file already.
  const QString known = textfile::read(path).value_or(QString());
  QStringList fresh;
  for (const Found& found : std::as_const(m_found)) {
    const QString& mark = found.withHeadersMark;
    if (mark.isEmpty() || !known.contains(mark)) fresh << found.line;
  }
  m_found.clear();
  // Lines the file could not take are kept by the writes for the next batch.
  m_f.writes.appendLines(path, fresh);
}

}  // namespace search
