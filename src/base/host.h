#pragma once

#include <QString>

class Timer;

enum class MessageIcon { None, Stop, Information };

// What the procedures need from the platform besides the engines.
class Host {
 public:
  virtual ~Host() = default;

  // Runs pending events, as the window's message loop would.
  virtual void yield() = 0;
  // Makes the timer tick every interval while it is enabled.
  virtual void attachTimer(Timer& timer) = 0;
  // A modal message with an OK button.
  virtual void messageBox(const QString& text, const QString& title,
                          MessageIcon icon) = 0;
  // The file-open dialog; returns the chosen path, or "" when cancelled.
  virtual QString showOpenDialog() = 0;
  // Title of the program's own active window's last active pop-up (the
  // window itself when it has none); "" when there is no active window.
  virtual QString activePopupTitle() = 0;
  // Asks that window to close and waits until the request is handled.
  virtual void closeActivePopup() = 0;
  // Ends the program: no further events or timers run.
  virtual void quit() = 0;
};
