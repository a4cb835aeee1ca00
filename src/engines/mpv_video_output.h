#pragma once

#include <QObject>

struct mpv_handle;
struct mpv_render_context;

// Where the picture of a session with video on goes: drawn through libmpv's
// render API into an OpenGL framebuffer of the window's, drawn by mpv itself
// into a native window (X11 without OpenGL), or nowhere (the sound still
// plays). The session makes it.
class MpvVideoOutput : public QObject {
  Q_OBJECT
 public:
  MpvVideoOutput(mpv_handle* mpv, QObject* parent);
  // The render context goes before its engine; it should have been closed
  // while its OpenGL context was current.
  ~MpvVideoOutput() override;
  MpvVideoOutput(const MpvVideoOutput&) = delete;
  MpvVideoOutput& operator=(const MpvVideoOutput&) = delete;

  // With an OpenGL context current: mpv renders through it from now on;
  // false when it cannot. mpv looks for this as soon as a file's video
  // starts, so it should come before the first load.
  bool openRendering();
  // With the same context current: mpv lets go of it.
  void closeRendering();
  bool rendering() const { return m_render != nullptr; }
  // Draws the current frame into the framebuffer fbo of the current context.
  void render(int fbo, int width, int height);

  // mpv draws by itself, into the native window set with setNativeWindow().
  void drawIntoNativeWindow();
  void setNativeWindow(quint64 windowId);
  void drawNowhere();

 Q_SIGNALS:
  // The render context asks to be drawn again; newFrame: with a new frame of
  // the medium, not only for a new size or output.
  void redrawNeeded(bool newFrame);

 private:
  // Runs on an mpv thread: only posts to the UI thread.
  static void onUpdate(void* output);
  void update();
  void setVideoOutput(const char* drivers);

  mpv_handle* m_mpv;
  mpv_render_context* m_render = nullptr;
};
