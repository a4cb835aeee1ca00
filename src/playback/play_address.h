#pragma once

#include <QString>

class Form;

namespace playback {

// Stops everything and plays the address in the engine its form calls for.
void PlayAddress(Form& f, const QString& address);
// Plays the address in the real player.
void PlayWithRealPlayer(Form& f, const QString& address);
// Silences every engine and stops the timers of playing and crawling.
void StopAll(Form& f);

// True for addresses the real player takes (".ram" or ".rm", exact case).
bool isRealMediaAddress(const QString& address);
// True for a local wrapper page of the temp folder.
bool isTempWrapperPage(const QString& address);

}  // namespace playback
