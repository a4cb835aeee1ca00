#pragma once

#include <QApplication>
#include <QScreen>
#include <QTest>
#include <QWidget>

#include "engines/mpv_session.h"

// The players as the window tests start them: with pictures, and a short
// start limit.
inline MpvOptions testPlayers() {
  MpvOptions options;
  options.video = true;
  options.startTimeoutMs = 4000;
  return options;
}

// Keeps a picture of the window, and of the program's pop-ups over it, for
// the report when NETTV_SCREENS names a folder.
inline void saveScreenshot(QWidget& window, const QString& name) {
  const QString folder = qEnvironmentVariable("NETTV_SCREENS");
  if (folder.isEmpty()) return;
  QTest::qWait(300);  // the X server shows what the window last painted
  // From the screen, so pop-ups and dialogs over the window show too.
  QRect area = window.frameGeometry();
  for (QWidget* w : QApplication::topLevelWidgets())
    if (w->isVisible()) area |= w->frameGeometry();
  window.screen()->grabWindow(0, area.x(), area.y(), area.width(), area.height())
      .save(folder + "/" + name + ".png");
}
