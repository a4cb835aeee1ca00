#pragma once

class Form;

namespace search {

// Command10: tests the found stations one after another through the list
// scan; before any web search they are the page-scan finds of earlier runs.
void TestAllStations(Form& f);
// F11 on Command10 shows the status label, the address record and dz1.
void Command10_KeyDown(Form& f, int keyCode);

}  // namespace search
