#pragma once

class Form;

namespace library {

// Appends the .asx and .htm wrapper files of the program's temp folder to the
// lists: the name without its extension to tvm, the full path to dz1.
void ListTempEntries(Form& f);

}  // namespace library
