#pragma once

#include <QOpenGLWidget>
#include <QPointer>

class MpvVideoOutput;

// Draws a player's picture through its video output's OpenGL rendering.
// Mesa's software OpenGL is enough, e.g. under Xvfb. Rendering opens as soon
// as events run, even while the widget is hidden, because the engine looks
// for it when a file's video starts.
class VideoWidget : public QOpenGLWidget {
  Q_OBJECT
 public:
  explicit VideoWidget(MpvVideoOutput& output, QWidget* parent = nullptr);
  ~VideoWidget() override;

 Q_SIGNALS:
  // A new frame of the medium is drawn.
  void frameShown();

 protected:
  void initializeGL() override;
  void paintGL() override;

 private:
  // Ends the rendering while its OpenGL context is still there.
  void closeRendering();

  QPointer<MpvVideoOutput> m_output;
};

// Creates the picture area for a player's video output: OpenGL rendering
// where the platform has OpenGL, else a native child window the engine draws
// into itself (X11), else no picture (the sound still plays). A null output
// (no video, or the engine did not start) gets a black area.
QWidget* makeVideoView(MpvVideoOutput* output, QWidget* parent = nullptr);
