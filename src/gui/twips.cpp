#include "gui/twips.h"

#include <QScreen>

#include "base/control_models.h"

TwipsScale TwipsScale::forScreen(const QScreen* screen) {
  return screen ? TwipsScale(screen->logicalDotsPerInchY()) : TwipsScale();
}

QRect TwipsScale::toPixels(const Control& c) const {
  const int left = toPixels(c.left());
  const int top = toPixels(c.top());
  return QRect(QPoint(left, top), QPoint(toPixels(c.left() + c.width()) - 1,
                                         toPixels(c.top() + c.height()) - 1));
}
