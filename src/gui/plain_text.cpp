#include "gui/plain_text.h"

#include <QTextDocument>

QString plainToolTip(const QString& text) {
  // Escaped inside rich text of its own, so nothing in it is markup.
  return Qt::mightBeRichText(text) ? Qt::convertFromPlainText(text, Qt::WhiteSpaceNormal) : text;
}
