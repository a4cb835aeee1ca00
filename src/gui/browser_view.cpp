#include "gui/browser_view.h"

#include <QQuickWindow>
#include <QWebEngineView>

#include "base/control_models.h"
#include "engines/web_engine_browser.h"
#include "gui/opengl_support.h"
#include "gui/twips.h"

namespace {

// The web view draws through Qt Quick, which without OpenGL must draw in
// software; this has to be chosen before the first view exists.
QWebEngineView* webView(QWidget* parent) {
  if (!windowsShowOpenGL()) QQuickWindow::setGraphicsApi(QSGRendererInterface::Software);
  return new QWebEngineView(parent);
}

}  // namespace

BrowserView::BrowserView(WebEngineBrowser& browser, const Control& mediaArea, QWidget* parent)
    : QWidget(parent), m_browser(browser), m_mediaArea(mediaArea), m_view(webView(this)) {
  m_view->setPage(browser.page());
  connect(&browser, &WebEngineBrowser::theaterModeChanged, this, &BrowserView::layoutPage);
  connect(&mediaArea, &Control::changed, this, &BrowserView::layoutPage);
}

void BrowserView::resizeEvent(QResizeEvent* event) {
  layoutPage();
  QWidget::resizeEvent(event);
}

void BrowserView::layoutPage() {
  if (!m_browser.theaterMode()) {
    m_view->setGeometry(rect());
    return;
  }
  const QRect area = TwipsScale::forScreen(screen()).toPixels(m_mediaArea);
  m_view->setGeometry(0, 0, width(), qMin(height(), area.bottom() + 1));
}
