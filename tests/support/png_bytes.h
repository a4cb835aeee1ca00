#pragma once

#include <QBuffer>
#include <QByteArray>
#include <QImage>

// A picture of one colour in PNG, as a server would answer for a logo.
inline QByteArray pngBytes(QSize size, QColor colour = Qt::red) {
  QImage image(size, QImage::Format_RGB32);
  image.fill(colour);
  QByteArray bytes;
  QBuffer buffer(&bytes);
  buffer.open(QIODevice::WriteOnly);
  image.save(&buffer, "PNG");
  return bytes;
}
