#include "gui/video_widget.h"

#include <QGuiApplication>
#include <QOpenGLContext>
#include <QTimer>

#include "engines/mpv_video_output.h"
#include "gui/opengl_support.h"

namespace {

QWidget* blackArea(QWidget* parent) {
  auto* area = new QWidget(parent);
  area->setAutoFillBackground(true);
  area->setPalette(QPalette(Qt::black));
  return area;
}

// A native window of its own that the engine draws into without OpenGL. Its
// id changes when the widget is placed into the window, so the engine is told
// again.
class NativeVideoView : public QWidget {
 public:
  NativeVideoView(MpvVideoOutput& output, QWidget* parent) : QWidget(parent), m_output(&output) {
    setAutoFillBackground(true);
    setPalette(QPalette(Qt::black));
    setAttribute(Qt::WA_NativeWindow);
    setAttribute(Qt::WA_DontCreateNativeAncestors);
    output.drawIntoNativeWindow();
  }
  // The engine lets go of the native window while it still exists.
  ~NativeVideoView() override {
    if (m_output) m_output->drawNowhere();
  }

 protected:
  bool event(QEvent* e) override {
    if (e->type() == QEvent::WinIdChange && m_output) m_output->setNativeWindow(winId());
    return QWidget::event(e);
  }

 private:
  QPointer<MpvVideoOutput> m_output;
};

}  // namespace

VideoWidget::VideoWidget(MpvVideoOutput& output, QWidget* parent)
    : QOpenGLWidget(parent), m_output(&output) {
  connect(&output, &MpvVideoOutput::redrawNeeded, this, [this](bool newFrame) {
    if (newFrame) Q_EMIT frameShown();
    update();
  });
  // Initialises OpenGL (and so the rendering) without waiting to be shown.
  QTimer::singleShot(0, this, [this] {
    if (m_output && !m_output->rendering()) grabFramebuffer();
  });
}

VideoWidget::~VideoWidget() {
  if (context()) disconnect(context(), nullptr, this, nullptr);
  closeRendering();
}

void VideoWidget::closeRendering() {
  if (!m_output || !m_output->rendering()) return;
  makeCurrent();
  m_output->closeRendering();
  doneCurrent();
}

void VideoWidget::initializeGL() {
  if (!m_output || !m_output->openRendering()) return;
  // A new top-level window gives the widget a new OpenGL context.
  connect(context(), &QOpenGLContext::aboutToBeDestroyed, this, &VideoWidget::closeRendering);
}

void VideoWidget::paintGL() {
  if (!m_output) return;
  const qreal ratio = devicePixelRatioF();
  m_output->render(static_cast<int>(defaultFramebufferObject()), qRound(width() * ratio),
                   qRound(height() * ratio));
}

QWidget* makeVideoView(MpvVideoOutput* output, QWidget* parent) {
  if (!output) return blackArea(parent);
  if (windowsShowOpenGL()) return new VideoWidget(*output, parent);
  if (QGuiApplication::platformName() == u"xcb") return new NativeVideoView(*output, parent);
  output->drawNowhere();
  return blackArea(parent);
}
