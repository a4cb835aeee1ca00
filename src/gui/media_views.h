#pragma once

#include "gui/main_window.h"

class Form;
class MpvMediaPlayer;
class MpvRealPlayer;
class WebEngineBrowser;

// The media area's three views on the real engines: the media player's
// picture with its control bar, the real player's picture alone (control set
// "imagewindow") and the browser's page.
MediaViews makeMediaViews(MpvMediaPlayer& mediaPlayer, MpvRealPlayer& realPlayer,
                          WebEngineBrowser& browser, const Form& form);
