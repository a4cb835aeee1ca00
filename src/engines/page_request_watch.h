#pragma once

#include <QUrl>
#include <QWebEngineUrlRequestInterceptor>

// Watches the requests a page makes itself for what a player loads: media,
// XHR and fetch, objects and frames. Chromium calls it on its own thread for
// every request, so it only copies the address and posts it on; the request
// itself goes on untouched.
class PageRequestWatch : public QWebEngineUrlRequestInterceptor {
  Q_OBJECT
 public:
  using QWebEngineUrlRequestInterceptor::QWebEngineUrlRequestInterceptor;

  void interceptRequest(QWebEngineUrlRequestInfo& info) override;

 Q_SIGNALS:
  // Emitted on Chromium's thread: connect queued.
  void requested(const QUrl& url);
};
