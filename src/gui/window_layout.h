#pragma once

#include <QRect>
#include <QSize>

// Where the window's own controls go when the window is larger than the size
// the procedures set: the media area takes the extra room, the controls below
// it move down and those right of it move right. In full screen the media
// area fills the window and the rest is out of sight.
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

  // The place of a control the procedures put at designed.
  QRect place(QRect designed, bool isMediaArea) const;

 private:
  QSize m_design;
  QSize m_actual;
  QRect m_media;
  bool m_fullScreen = false;
};
