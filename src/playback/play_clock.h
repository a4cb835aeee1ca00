#pragma once

#include <QString>
#include <QtGlobal>

class Form;

namespace playback {

// "h:m:s" without leading zeros for a time in milliseconds; leaves the whole
// number of seconds (rounded, halves to even) in its argument.
QString FormatElapsed(qint32& milliseconds);

// Tick of Timer5: advances the play clock while it runs and closes the
// players' pop-ups.
void Timer5_Timer(Form& f);

// Pause and continue, on the button that shows "暂停" or "继续".
void TogglePause(Form& f);
void Command14_Click(Form& f);

}  // namespace playback
