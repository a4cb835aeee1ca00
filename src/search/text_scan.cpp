#include "search/text_scan.h"

#include "form/form.h"
#include "search/address_finder.h"
#include "search/page_scan.h"

namespace search {

namespace {

// Finds are recorded with the page the browser shows as their Referer.
PageScan scanOfShownPage(Form& f) { return PageScan(f, f.WebBrowser1->LocationURL()); }

int position(qsizetype offset) { return offset < 0 ? 0 : static_cast<int>(offset) + 1; }

}  // namespace

int FindStartMarker(int from, const QString& text, const QString& markers) {
  FoldedText folded(text);
  return position(findStartMarker(folded, MarkerList(markers), 0, qMax(from, 0), text.size()));
}

int FindAddressEnd(const Form& f, int start, const QString& text, const QString& markers) {
  FoldedText folded(text);
  const MarkerList ends(markers, f.Text7.text());
  return position(findAddressEnd(folded, ends, 0, qMax(start - 1, 0), text.size()));
}

QString FindMediaAddress(Form& f, const QString& text) {
  return scanOfShownPage(f).findMediaAddress(text);
}

void ScanTextForStations(Form& f, const QString& text) {
  PageScan scan = scanOfShownPage(f);
  FoldedText folded(text);
  scan.scanText(folded, 0, folded.size());
}

void ScanTextByLines(Form& f, const QString& text) {
  PageScan scan = scanOfShownPage(f);
  FoldedText folded(text);
  scan.scanLines(folded);
}

void AddCandidate(Form& f, const QString& name, const QString& address) {
  scanOfShownPage(f).addCandidate(name, address);
}

}  // namespace search
