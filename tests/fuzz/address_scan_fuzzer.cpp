#include <QFile>
#include <QSet>

#include "base/text_file.h"
#include "fuzz_rig.h"
#include "library/station_list.h"
#include "playlists/station_files.h"
#include "search/text_scan.h"
#include "station_oracle.h"

namespace {

// The stations of the window's lists, as station lines.
QSet<QString> listedLines(const Form& f) {
  QSet<QString> lines;
  for (int i = 0; i < f.tvm.count(); ++i) lines << library::stationLine(f.tvm.item(i), f.dz1.item(i));
  return lines;
}

}  // namespace

// The input as page text, scanned whole and cut at carriage returns with the
// window's marker lists, as the web search scans a page. Every station found
// must be storable, and the file of found stations must give the window the
// stations the scan listed, one for each line.
extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  Form& f = fuzzRig().f;
  for (ListControl* list : {&f.tvm, &f.dz1, &f.tvmx, &f.List1, &f.List2, &f.List3}) list->clear();
  f.crawl.record.clear();
  f.SearchState = kSearchRunning;
  const QString page = QString::fromUtf8(fuzzBytes(data, size));
  search::ScanTextForStations(f, page);
  search::ScanTextByLines(f, page);

  for (int i = 0; i < f.tvm.count(); ++i) oracle::expectStorable(f.tvm.item(i), f.dz1.item(i));
  const QSet<QString> listed = listedLines(f);
  const int stored =
      textfile::readLines(f.path(library::kScannedFile)).value_or(QStringList()).size();
  f.tvm.clear();
  f.dz1.clear();
  library::LoadStationList(f, library::kScannedFile);
  const QSet<QString> other = listedLines(f).subtract(listed);
  oracle::check(f.tvm.count() == stored && other.isEmpty(),
                "the found-stations file reads as other stations",
                QStringList(other.begin(), other.end()).join(u'\n'));
  QFile::remove(f.path(library::kScannedFile));
  return 0;
}
