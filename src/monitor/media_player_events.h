#pragma once

class Form;

namespace monitor {

// Reactions to the media player's reports. The handlers decide on the state
// the player shows when they look, not on the state the report carried.
void WindowsMediaPlayer1_PlayStateChange(Form& f, int newState);
void WindowsMediaPlayer1_Error(Form& f);

}  // namespace monitor
