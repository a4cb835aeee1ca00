#pragma once

class Form;

namespace library {

// Makes the found stations the list: empties tvm and dz1, loads the
// found-stations file and the temp folder's wrappers, and shows the first
// entry in both boxes.
void ListFoundStations(Form& f);

}  // namespace library
