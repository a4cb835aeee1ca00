#include "search/scanned_stations.h"

#include "base/text_file.h"
#include "base/text_lines.h"
#include "form/form.h"
#include "playlists/key_set.h"
#include "playlists/station_address.h"
#include "playlists/station_file.h"
#include "playlists/station_files.h"

namespace search {

namespace {

// The bare addresses the file stores with headers.
playlists::KeySet storedWithHeaders(const QString& path) {
  playlists::KeySet stored;
  const QString text = textfile::read(path).value_or(QString());
  textfile::forEachLine(text, [&stored](int, QStringView line) {
    const QStringView address = playlists::stationLineAddress(line);
    if (address.contains(u'|')) stored.add(playlists::knownAddressKey(address.toString()));
  });
  return stored;
}

}  // namespace

void RecordScannedStation(Form& f, const QString& line) {
  f.writes.appendLines(f.path(library::kScannedFile), {line});
}

ScannedStationBatch::ScannedStationBatch(Form& f) : m_f(f) { m_sinceWrite.start(); }

void ScannedStationBatch::add(const QString& name, const QString& address) {
  const QString line = library::stationLine(name, address);
  if (m_taken.contains(line)) return;
  m_taken.insert(line);
  m_found.append({line, address.contains(u'|') ? address : QString()});
}

void ScannedStationBatch::write() {
  m_sinceWrite.restart();
  if (m_found.isEmpty()) return;
  const QString path = m_f.path(library::kScannedFile);
  // The crawl gives a find its page as Referer: the same stream found before
  // on another page is in the file already, with that page's headers.
  const playlists::KeySet stored = storedWithHeaders(path);
  QStringList fresh;
  for (const Found& found : std::as_const(m_found)) {
    const QString& headed = found.withHeaders;
    if (headed.isEmpty() || !stored.contains(playlists::knownAddressKey(headed)))
      fresh << found.line;
  }
  m_found.clear();
  // Lines the file could not take are kept by the writes for the next batch.
  m_f.writes.appendLines(path, fresh);
}

}  // namespace search
