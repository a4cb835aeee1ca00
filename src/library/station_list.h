#pragma once

#include <QString>

class Form;

namespace library {

// Appends the stations of a file of the program folder to tvm and dz1, after
// a separator entry when the lists are not empty.
void LoadStationList(Form& f, const QString& fileName);

// Clears tvm and dz1 and loads the found, scanned and library files in turn.
void ReloadAllStationLists(Form& f);

}  // namespace library
