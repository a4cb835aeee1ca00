#include "search/scanned_stations.h"

#include "app/form.h"
#include "base/text_file.h"
#include "library/station_files.h"
#include "library/unique_line_file.h"

namespace search {

void RecordScannedStation(Form& f, const QString& line) {
  library::AppendUniqueLine(f.path(library::kScannedFile), line);
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
  const QString path = m_f.path(library::kScannedFile);
  const QString known = textfile::read(path).value_or(QString());
  QStringList fresh;
  for (const QString& line : std::as_const(m_lines))
    if (!known.contains(line)) fresh << line;
  m_lines.clear();
  // The joined lines are new to the file, so the unique-line writer appends
  // them all, with the care it takes of a hand-edited last line.
  library::AppendUniqueLine(path, fresh.join(QStringLiteral("\r\n")));
}

}  // namespace search
