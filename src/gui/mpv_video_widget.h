#pragma once

#include <QOpenGLWidget>

struct mpv_handle;
struct mpv_render_context;

// Draws an mpv player's picture through libmpv's render API (the player runs
// with vo=libmpv). Mesa's software OpenGL is enough, e.g. under Xvfb. The
// render context is made as soon as events run, even while the widget is
// hidden, because mpv looks for it when a file's video starts.
class MpvVideoWidget : public QOpenGLWidget {
  Q_OBJECT
 public:
  explicit MpvVideoWidget(mpv_handle* mpv, QWidget* parent = nullptr);
  ~MpvVideoWidget() override;

 Q_SIGNALS:
  // mpv has a new frame of the medium to draw.
  void frameShown();

 protected:
  void initializeGL() override;
  void paintGL() override;

 private:
  // Runs on an mpv thread: only posts a repaint to the UI thread.
  static void frameReady(void* widget);
  void onFrameReady();
  // Frees the render context while its OpenGL context is still there.
  void releaseRenderContext();

  mpv_handle* m_mpv;
  mpv_render_context* m_render = nullptr;
};

// Creates the picture area for an mpv player: OpenGL rendering where the
// platform has OpenGL, else a native child window mpv draws into itself
// (X11), else no picture (the sound still plays).
QWidget* makeVideoView(mpv_handle* mpv, QWidget* parent = nullptr);
