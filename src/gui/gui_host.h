#pragma once

#include <QPointer>

#include "base/core_host.h"

class QWidget;

// The host of the window: Qt's event loop and timers (from CoreHost), message
// boxes and the file-open dialog over the main window, and the program's own
// active window and pop-ups for the pop-up check.
class GuiHost : public CoreHost {
 public:
  // The window message boxes and dialogs belong to.
  void setMainWindow(QWidget* window) { m_mainWindow = window; }
  // After a termination signal nobody may be there to answer a box, and a
  // box would keep the program from ending: messages go to standard error.
  void stopAsking() { m_unattended = true; }

  void messageBox(const QString& text, const QString& title, MessageIcon icon) override;
  QString showOpenDialog() override;
  QString activePopupTitle() override;
  void closeActivePopup() override;

  // The program's topmost pop-up: an open menu or drop-down, else a modal
  // dialog, else the active window; nullptr when the program is not active.
  static QWidget* activePopup();

 private:
  QPointer<QWidget> m_mainWindow;
  bool m_unattended = false;
};
