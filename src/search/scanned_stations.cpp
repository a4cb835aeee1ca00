#include "search/scanned_stations.h"

#include "app/form.h"
#include "library/station_files.h"

namespace search {

void RecordScannedStation(Form& f, const QString& line) {
  f.writes.appendLines(f.path(library::kScannedFile), {line});
}

ScannedStationBatch::ScannedStationBatch(Form& f) : m_f(f) { m_sinceWrite.start(); }

void ScannedStationBatch::add(const QString& line) {
  if (line.isEmpty() || m_taken.contains(line)) return;
  m_taken.insert(line);
  m_lines << line;
}

void ScannedStationBatch::write() {
  m_sinceWrite.restart();
  if (m_lines.isEmpty()) return;
  // Lines the file could not take are kept by the writes for the next batch.
  m_f.writes.appendLines(m_f.path(library::kScannedFile), m_lines);
  m_lines.clear();
}

}  // namespace search
