#pragma once

#include <QString>

class ListControl;

namespace library {

// Index of the first entry equal to name ignoring letter case, or -1.
int findEntry(const ListControl& list, const QString& name);

// Shows entry index of the list as its text, or an empty text when the
// index is outside the list.
void showEntry(ListControl& list, int index);

}  // namespace library
