#pragma once

class Form;

namespace library {

// Command3: stores the typed name and address as a found station and
// reloads the lists. The typed texts stay in the boxes.
void AddStation(Form& f);
// Command12: removes the first entry whose name matches the name box,
// ignoring letter case, from both lists (no file changes).
void DeleteStation(Form& f);
// Every new text of Text2 is a found-station line to store.
void Text2_Change(Form& f);
// Check3: stores the last found entry.
void Check3_Click(Form& f);

// Caption and tooltip of Command3, which doubles as a small counter.
void ShowAddCaption(Form& f);
void ShowEntryIndex(Form& f, int index);
void ShowPlayingCount(Form& f);
void Command3_LostFocus(Form& f);

}  // namespace library
