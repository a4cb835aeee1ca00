#pragma once

class Form;

namespace app {

// gjz.txt: the accepted media types, start markers and end markers.
void LoadMarkerLists(Form& f);
void SaveMarkerLists(Form& f);
// The start-up work after the window is shown: lists, position, engines.
void PrepareMainWindow(Form& f);
// The window's Load and Unload events.
void Form_Load(Form& f);
void Form_Unload(Form& f);

}  // namespace app
