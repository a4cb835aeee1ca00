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

namespace {

// An address never runs into markup.
qsizetype cutAtTag(const FoldedText& text, qsizetype start, qsizetype stop) {
  const qsizetype tag = QStringView(text.text()).sliced(start, stop - start).indexOf(u'<');
  return tag < 0 ? stop : start + tag;
}

bool endsQuery(QChar c) {
  return c == u'"' || c == u'\'' || c == u'<' || c == u'>' || c.isSpace();
}

// A stream address cut at its media type keeps the query that follows it
// (a token): without it the address never plays.
qsizetype throughQuery(const FoldedText& text, const MarkerLists& markers, qsizetype start,
                       qsizetype stop, qsizetype end) {
  if (stop >= end || text.text().at(stop) != u'?') return stop;
  if (!markers.endsWithMediaType(QStringView(text.folded()).sliced(start, stop - start)))
    return stop;
  qsizetype past = stop + 1;
  while (past < end && !endsQuery(text.text().at(past))) ++past;
  return past;
}

}  // namespace

QString findAddress(FoldedText& text, const MarkerLists& markers, qsizetype begin,
                         qsizetype end) {
  if (end <= begin) return {};
  const qsizetype start = findStartMarker(text, markers.starts, 0, begin + 1, end);
  if (start < 0) return {};
  qsizetype stop = findAddressEnd(text, markers.ends, endMarkerSlot(markers), start, end);
  if (stop <= start) return {};
  stop = throughQuery(text, markers, start, cutAtTag(text, start, stop), end);
  if (stop <= start) return {};
  return vb::trim(text.text().mid(start, stop - start));
}

int endMarkerSlot(const MarkerLists& markers) { return markers.starts.count(); }

int closeTagSlot(const MarkerLists& markers) {
  return markers.starts.count() + markers.ends.count();
}

}  // namespace search
