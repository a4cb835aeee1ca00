#include <QFile>

#include "fuzz_rig.h"
#include "playlists/station_files.h"
#include "search/text_scan.h"

// The input as page text, scanned whole and cut at carriage returns with the
// window's marker lists, as the web search scans a page.
extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  Form& f = fuzzRig().f;
  for (ListControl* list : {&f.tvm, &f.dz1, &f.tvmx, &f.List1, &f.List2, &f.List3}) list->clear();
  f.crawl.record.clear();
  f.SearchState = kSearchRunning;
  const QString page = QString::fromUtf8(fuzzBytes(data, size));
  search::ScanTextForStations(f, page);
  search::ScanTextByLines(f, page);
  QFile::remove(f.path(library::kScannedFile));
  return 0;
}
