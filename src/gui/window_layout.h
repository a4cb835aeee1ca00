#pragma once

#include <QRect>
#include <QSize>

// Where the window's own controls go when the window is larger than the size
// the procedures set: the media area takes the extra room, the controls below
// it move down and those right of it move right. A side pane open at the
// right edge keeps its width for itself: the controls are placed as in a
// window that much narrower. In full screen the media area fills the window
// and the rest is out of sight.
class WindowLayout {
 public:
  // All in pixels: the size the procedures set, the window's real size and
  // the media area at the size the procedures set.
  void setDesignSize(QSize size) { m_design = size; }
  QSize designSize() const { return m_design; }
  void setActualSize(QSize size) { m_actual = size; }
  void setMediaArea(QRect area) { m_media = area; }
  void setFullScreen(bool on) { m_fullScreen = on; }
  bool fullScreen() const { return m_fullScreen; }
  // The side pane's width; 0 while it is closed.
  void setSidePane(int width) { m_side = width; }
  int sidePane() const { return m_side; }

  // The place of a control the procedures put at designed.
  QRect place(QRect designed, bool isMediaArea) const;
  // The place of the side pane: the full height at the right edge.
  QRect sidePanePlace() const;

 private:
  QSize m_design;
  QSize m_actual;
  QRect m_media;
  bool m_fullScreen = false;
  int m_side = 0;
};
