#include "engines/mpv_video_output.h"

#include <mpv/client.h>
#include <mpv/render_gl.h>

#include <QOpenGLContext>

#include "engines/mpv_names.h"

using namespace mpvname;

namespace {

void* glProcAddress(void*, const char* name) {
  QOpenGLContext* context = QOpenGLContext::currentContext();
  return context ? reinterpret_cast<void*>(context->getProcAddress(name)) : nullptr;
}

}  // namespace

MpvVideoOutput::MpvVideoOutput(mpv_handle* mpv, QObject* parent)
    : QObject(parent), m_mpv(mpv) {}

MpvVideoOutput::~MpvVideoOutput() { closeRendering(); }

bool MpvVideoOutput::openRendering() {
  if (m_render) return true;
  mpv_set_property_string(m_mpv, kHardwareInterop, "no");
  mpv_opengl_init_params gl{glProcAddress, nullptr};
  mpv_render_param params[] = {
      {MPV_RENDER_PARAM_API_TYPE, const_cast<char*>(MPV_RENDER_API_TYPE_OPENGL)},
      {MPV_RENDER_PARAM_OPENGL_INIT_PARAMS, &gl},
      {MPV_RENDER_PARAM_INVALID, nullptr}};
  if (mpv_render_context_create(&m_render, m_mpv, params) < 0) {
    m_render = nullptr;
    return false;
  }
  mpv_render_context_set_update_callback(m_render, &MpvVideoOutput::onUpdate, this);
  return true;
}

void MpvVideoOutput::closeRendering() {
  if (!m_render) return;
  mpv_render_context_free(m_render);
  m_render = nullptr;
}

void MpvVideoOutput::onUpdate(void* output) {
  QMetaObject::invokeMethod(static_cast<MpvVideoOutput*>(output), &MpvVideoOutput::update,
                            Qt::QueuedConnection);
}

void MpvVideoOutput::update() {
  if (!m_render) return;
  Q_EMIT redrawNeeded((mpv_render_context_update(m_render) & MPV_RENDER_UPDATE_FRAME) != 0);
}

void MpvVideoOutput::render(int fbo, int width, int height) {
  if (!m_render) return;
  mpv_opengl_fbo target{fbo, width, height, 0};
  int flipY = 1;
  mpv_render_param params[] = {{MPV_RENDER_PARAM_OPENGL_FBO, &target},
                               {MPV_RENDER_PARAM_FLIP_Y, &flipY},
                               {MPV_RENDER_PARAM_INVALID, nullptr}};
  mpv_render_context_render(m_render, params);
}

void MpvVideoOutput::drawIntoNativeWindow() { setVideoOutput("xv,x11"); }

void MpvVideoOutput::setNativeWindow(quint64 windowId) {
  mpv_set_property_string(m_mpv, kWindowId, QByteArray::number(windowId).constData());
}

void MpvVideoOutput::drawNowhere() { setVideoOutput("null"); }

void MpvVideoOutput::setVideoOutput(const char* drivers) {
  mpv_set_property_string(m_mpv, kVideoOutput, drivers);
}
