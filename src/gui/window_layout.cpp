#include "gui/window_layout.h"

#include <QtGlobal>

QRect WindowLayout::place(QRect designed, bool isMediaArea) const {
  if (m_fullScreen) {
    // The other controls wait below the screen's edge.
    return isMediaArea ? QRect(QPoint(0, 0), m_actual) : designed.translated(0, m_actual.height());
  }
  const int dx = qMax(0, m_actual.width() - m_side - m_design.width());
  const int dy = qMax(0, m_actual.height() - m_design.height());
  if (isMediaArea) return designed.adjusted(0, 0, dx, dy);
  if (designed.top() >= m_media.top() + m_media.height()) designed.translate(0, dy);
  if (designed.left() >= m_media.left() + m_media.width()) designed.translate(dx, 0);
  return designed;
}

QRect WindowLayout::sidePanePlace() const {
  return {m_actual.width() - m_side, 0, m_side, m_actual.height()};
}
