#pragma once

#include <QString>

class Form;

namespace library {

// Appends the stations of a file of the program folder to tvm and dz1, after
// a separator entry when the lists are not empty. False when the load
// stopped in one of its yields (see yieldWithinLoad) or did not start since
// the program had ended.
bool LoadStationList(Form& f, const QString& fileName);

// Empties tvm and dz1 for a new load of the lists and returns its number. A
// load still in its yields then stops, so the two never mix their entries.
quint64 ClearStationLists(Form& f);
// Yields within the load of that number: false when it must stop because the
// program has ended or a newer load has emptied the lists meanwhile.
bool yieldWithinLoad(Form& f, quint64 load);

// Clears tvm and dz1 and loads the found, scanned and library files in turn.
void ReloadAllStationLists(Form& f);
// The same, except while a station scan or a web search runs in the lists:
// the files then keep what changed until the lists are loaded again.
void ReloadStationListsWhenIdle(Form& f);

}  // namespace library
