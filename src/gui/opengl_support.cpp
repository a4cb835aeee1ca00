#include "gui/opengl_support.h"

#include <QGuiApplication>
#include <QOffscreenSurface>
#include <QOpenGLContext>

bool windowsShowOpenGL() {
  const QString platform = QGuiApplication::platformName();
  if (platform != u"xcb" && !platform.startsWith(u"wayland") && platform != u"eglfs") return false;
  QOffscreenSurface surface;
  surface.create();
  QOpenGLContext context;
  return context.create() && context.makeCurrent(&surface);
}
