#pragma once

#include <QStringList>

#include "form/web_browser.h"
#include "search/marker_lists.h"

namespace search {

// Every address a loaded page yields to the page scan's finder, without
// sorting any into the window's lists: the targets of its links (or the
// media address inside one), every media address in the text of its
// elements, then what the page requested itself; HTML escapes undone, each
// address once.
QStringList pageAddresses(const MarkerLists& markers, const Document& page,
                          const QStringList& requests);

}  // namespace search
