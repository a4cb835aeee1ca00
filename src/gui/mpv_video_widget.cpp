#include "gui/mpv_video_widget.h"

#include <mpv/client.h>
#include <mpv/render_gl.h>

#include <QGuiApplication>
#include <QOpenGLContext>
#include <QTimer>

#include "gui/opengl_support.h"

namespace {

void* glProcAddress(void*, const char* name) {
  QOpenGLContext* context = QOpenGLContext::currentContext();
  return context ? reinterpret_cast<void*>(context->getProcAddress(name)) : nullptr;
}

QWidget* blackArea(QWidget* parent) {
  auto* area = new QWidget(parent);
  area->setAutoFillBackground(true);
  area->setPalette(QPalette(Qt::black));
  return area;
}

// A native window of its own that mpv draws into without OpenGL. Its id
// changes when the widget is placed into the window, so mpv is told again.
class NativeVideoView : public QWidget {
 public:
  NativeVideoView(mpv_handle* mpv, QWidget* parent) : QWidget(parent), m_mpv(mpv) {
    setAutoFillBackground(true);
    setPalette(QPalette(Qt::black));
    setAttribute(Qt::WA_NativeWindow);
    setAttribute(Qt::WA_DontCreateNativeAncestors);
    mpv_set_property_string(mpv, "vo", "xv,x11");
  }
  // mpv lets go of the native window while it still exists.
  ~NativeVideoView() override { mpv_set_property_string(m_mpv, "vo", "null"); }

 protected:
  bool event(QEvent* e) override {
    if (e->type() == QEvent::WinIdChange)
      mpv_set_property_string(m_mpv, "wid", QByteArray::number(winId()).constData());
    return QWidget::event(e);
  }

 private:
  mpv_handle* m_mpv;
};

}  // namespace

MpvVideoWidget::MpvVideoWidget(mpv_handle* mpv, QWidget* parent)
    : QOpenGLWidget(parent), m_mpv(mpv) {
  // Initialises OpenGL (and so the render context) without waiting to be shown.
  QTimer::singleShot(0, this, [this] {
    if (!m_render) grabFramebuffer();
  });
}

MpvVideoWidget::~MpvVideoWidget() {
  if (context()) disconnect(context(), nullptr, this, nullptr);
  releaseRenderContext();
}

void MpvVideoWidget::releaseRenderContext() {
  if (!m_render) return;
  makeCurrent();
  mpv_render_context_free(m_render);
  m_render = nullptr;
  doneCurrent();
}

void MpvVideoWidget::initializeGL() {
  // Decoding runs in software; probing hardware interops only prints noise.
  mpv_set_property_string(m_mpv, "gpu-hwdec-interop", "no");
  mpv_opengl_init_params gl{glProcAddress, nullptr};
  mpv_render_param params[] = {
      {MPV_RENDER_PARAM_API_TYPE, const_cast<char*>(MPV_RENDER_API_TYPE_OPENGL)},
      {MPV_RENDER_PARAM_OPENGL_INIT_PARAMS, &gl},
      {MPV_RENDER_PARAM_INVALID, nullptr}};
  if (mpv_render_context_create(&m_render, m_mpv, params) < 0) {
    m_render = nullptr;
    return;
  }
  // A new top-level window gives the widget a new OpenGL context.
  connect(context(), &QOpenGLContext::aboutToBeDestroyed, this,
          &MpvVideoWidget::releaseRenderContext);
  mpv_render_context_set_update_callback(m_render, &MpvVideoWidget::frameReady, this);
}

void MpvVideoWidget::frameReady(void* widget) {
  QMetaObject::invokeMethod(static_cast<MpvVideoWidget*>(widget), &MpvVideoWidget::onFrameReady,
                            Qt::QueuedConnection);
}

void MpvVideoWidget::onFrameReady() {
  // Redraw requests without a new frame (a resize, a new output) are no
  // picture of the medium.
  if (m_render && (mpv_render_context_update(m_render) & MPV_RENDER_UPDATE_FRAME))
    Q_EMIT frameShown();
  update();
}

void MpvVideoWidget::paintGL() {
  if (!m_render) return;
  const qreal ratio = devicePixelRatioF();
  mpv_opengl_fbo fbo{static_cast<int>(defaultFramebufferObject()), qRound(width() * ratio),
                     qRound(height() * ratio), 0};
  int flipY = 1;
  mpv_render_param params[] = {{MPV_RENDER_PARAM_OPENGL_FBO, &fbo},
                               {MPV_RENDER_PARAM_FLIP_Y, &flipY},
                               {MPV_RENDER_PARAM_INVALID, nullptr}};
  mpv_render_context_render(m_render, params);
}

QWidget* makeVideoView(mpv_handle* mpv, QWidget* parent) {
  if (!mpv) return blackArea(parent);  // the engine did not start
  if (windowsShowOpenGL()) return new MpvVideoWidget(mpv, parent);
  if (QGuiApplication::platformName() == u"xcb") return new NativeVideoView(mpv, parent);
  mpv_set_property_string(mpv, "vo", "null");
  return blackArea(parent);
}
