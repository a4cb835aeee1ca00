#pragma once

#include <QApplication>
#include <QKeyEvent>
#include <QMouseEvent>
#include <QWidget>

// What a user does to a widget, delivered as the window system would.
namespace userinput {

inline void sendMouse(QWidget* w, QEvent::Type type) {
  const QPointF at = QRectF(w->rect()).center();
  QMouseEvent event(type, at, w->mapToGlobal(at), Qt::LeftButton,
                    type == QEvent::MouseButtonPress ? Qt::LeftButton : Qt::NoButton,
                    Qt::NoModifier);
  QApplication::sendEvent(w, &event);
}

inline void click(QWidget* w) {
  sendMouse(w, QEvent::MouseButtonPress);
  sendMouse(w, QEvent::MouseButtonRelease);
}

// A key press and release as the keyboard delivers them to the focus widget.
inline void key(QWidget* w, int qtKey, const QString& text = {}) {
  QKeyEvent press(QEvent::KeyPress, qtKey, Qt::NoModifier, text);
  QApplication::sendEvent(w, &press);
  QKeyEvent release(QEvent::KeyRelease, qtKey, Qt::NoModifier, text);
  QApplication::sendEvent(w, &release);
}

inline void type(QWidget* w, const QString& text) {
  for (QChar c : text) key(w, c.toUpper().unicode(), QString(c));
}

}  // namespace userinput
