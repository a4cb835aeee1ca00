#pragma once

#include <QtGlobal>

class Form;

namespace playback {

// bfwz.dat: engine of the last play and the station index, read at start-up.
void SaveLastPlayed(Form& f, qint32 index);
// dqwz.dat: the same record, kept when an automatic run is stopped.
void SaveRunPosition(Form& f, qint32 index);
// Reads the index of bfwz.dat into StationIndex; unchanged when unreadable.
int ReadLastPlayed(Form& f);

}  // namespace playback
