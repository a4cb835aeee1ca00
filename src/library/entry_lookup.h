#pragma once

#include <QString>

class ListControl;

namespace library {

// Index of the first entry equal to name ignoring letter case, or -1.
int findEntry(const ListControl& list, const QString& name);

// The entry the box shows: the one the user chose while the box's text is
// still that entry's (names repeat in the lists), else the first entry
// named as written, or -1.
int shownEntry(const ListControl& list);

// Shows entry index of the list as its text, or an empty text when the
// index is outside the list.
void showEntry(ListControl& list, int index);

}  // namespace library
