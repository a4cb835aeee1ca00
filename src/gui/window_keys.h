#pragma once

#include <QObject>
#include <functional>

class Form;
class QShortcut;
class QWidget;

// The window's keyboard shortcuts. They work wherever the focus is, except
// that a text box keeps the keys it types with; the arrow keys act on the
// picture only while it has the focus.
class WindowKeys : public QObject {
  Q_OBJECT
 public:
  struct Actions {
    std::function<void()> toggleFullScreen;
    std::function<void()> leaveFullScreen;
    std::function<void()> toggleMute;
    std::function<void(int)> changeVolume;   // in steps
    std::function<void(double)> seekBy;      // in seconds
    std::function<void()> findStation;
    std::function<void()> toggleChannels;  // the channel panel
  };

  WindowKeys(QWidget* window, QWidget* picture, Form& form, const Actions& actions);

  // Esc belongs to the window only in full screen.
  void setFullScreen(bool on);

 private:
  QShortcut* m_leave;
};
