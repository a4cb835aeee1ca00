#pragma once

#include "playlists/station.h"

class Form;

namespace channels {

// Plays a line of a channel as the window plays a station chosen in the name
// box: its entry is chosen there, which puts its address into the address
// box and plays it. When the lists have changed since the line was found at
// entry, its first entry now is chosen, and a line no longer listed is
// played from the boxes' texts with the play button.
void PlayChannelLine(Form& f, int entry, const playlists::Station& station);

}  // namespace channels
