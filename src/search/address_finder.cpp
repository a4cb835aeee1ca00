#include "search/address_finder.h"

#include "base/vb_text.h"

namespace search {

qsizetype findStartMarker(FoldedText& text, const MarkerList& starts, int firstSlot,
                          qsizetype from, qsizetype end) {
  for (int i = 0; i < starts.count(); ++i) {
    const qsizetype at = text.find(firstSlot + i, starts.item(i), from, end);
    if (at >= 0) return at;
  }
  return -1;
}

qsizetype findAddressEnd(FoldedText& text, const MarkerList& ends, int firstSlot,
                         qsizetype start, qsizetype end) {
  const int last = ends.count() - 1;
  if (last < 0 || end <= 0) return -1;
  qsizetype best = end - 1;
  bool previousFound = false;
  for (int i = 0; i < last; ++i) {
    const qsizetype at = text.find(firstSlot + i, ends.item(i), start + 1, end);
    previousFound = at >= 0;
    if (previousFound && at < best) best = ends.outside(i) ? at : at + ends.item(i).size();
  }
  if (!previousFound) {
    const qsizetype at = text.find(firstSlot + last, ends.item(last), start + 1, end);
    if (at >= 0 && at < best) best = at;
  }
  return best;
}

QString findAddress(FoldedText& text, const MarkerLists& markers, qsizetype begin,
                         qsizetype end) {
  if (end <= begin) return {};
  const qsizetype start = findStartMarker(text, markers.starts, 0, begin + 1, end);
  if (start < 0) return {};
  const qsizetype stop = findAddressEnd(text, markers.ends, endMarkerSlot(markers), start, end);
  if (stop <= start) return {};
  return vb::trim(text.text().mid(start, stop - start));
}

int endMarkerSlot(const MarkerLists& markers) { return markers.starts.count(); }

int closeTagSlot(const MarkerLists& markers) {
  return markers.starts.count() + markers.ends.count();
}

}  // namespace search
