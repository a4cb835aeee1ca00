#pragma once

#include <QString>

#include "search/folded_text.h"
#include "search/marker_lists.h"

namespace search {

// Offsets below count from 0 in the whole text; a window [begin, end) of it
// stands for the text the procedures are given. Each marker list searches
// through its own slots of the FoldedText, from firstSlot on.

// Offset of the first start marker found from offset from on, taking the
// items in list order (the first item found wins, wherever the others are);
// -1 when none is found.
qsizetype findStartMarker(FoldedText& text, const MarkerList& starts, int firstSlot,
                          qsizetype from, qsizetype end);

// Where an address that begins at offset start ends (exclusive): at the
// nearest end marker after start, which belongs to the address unless it is
// one of the outside markers; the last item never belongs to it and is only
// looked for when the item before it was not found. Without any marker the
// address ends before the window's last character. -1 when the list has no
// items.
qsizetype findAddressEnd(FoldedText& text, const MarkerList& ends, int firstSlot,
                         qsizetype start, qsizetype end);

// The first media address of the window: it starts at a start marker found
// from the window's second character on and ends as findAddressEnd says,
// spaces trimmed; "" when there is none.
QString findAddress(FoldedText& text, const MarkerLists& markers, qsizetype begin,
                         qsizetype end);

// Slots of the start markers, the end markers and "</" in a FoldedText.
int endMarkerSlot(const MarkerLists& markers);
int closeTagSlot(const MarkerLists& markers);

}  // namespace search
