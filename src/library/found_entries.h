#pragma once

#include <QString>

class Form;

namespace library {

// Adds one station line to the found-stations file unless its text is there.
void AppendFoundEntry(Form& f, const QString& entry);
// Stores the last found entry (the text of Text2) the same way.
void SaveLastFoundEntry(Form& f);
// Puts the address into dz1 and stores it under the name in tvm.
void RecordFoundAddress(Form& f, const QString& address);

}  // namespace library
