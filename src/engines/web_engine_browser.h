#pragma once

#include <QList>
#include <QSet>
#include <QTimer>
#include <QUrl>
#include <memory>
#include <optional>

#include "form/web_browser.h"

class QWebEngineDownloadRequest;
class QWebEngineLoadingInfo;
class QWebEnginePage;
class QWebEngineProfile;
class QWebEngineUrlSchemeHandler;
class PageRequestWatch;

// The browser on Qt WebEngine: one page in its own off-the-record profile,
// shown by the window in a view (page()) or running with no view at all.
//
// Every top-level load ends in exactly one event: DocumentComplete once the
// page has loaded and its document has been read, or NavigateError when it
// failed, answered with an HTTP error, or did not finish within the time
// limit (a renderer that then does not answer either is ended, so that the
// next page gets a fresh one). The time limit runs from the start of the load
// and is never extended by the redirects, refreshes and script navigations
// of its chain; after kMaxNavigations of them the page may go nowhere else
// and is read as it stands. A renderer that grows past the memory limit is
// ended and its load given up the same way. A load started by Navigate() that
// yields no page (a download, a refused media address, no content) ends in
// NavigateError too, so a caller always hears back; such loads started by the
// page itself end silently. Loads ended by Stop(), Quit() or a newer
// Navigate() raise nothing.
class WebEngineBrowser : public WebBrowser {
  Q_OBJECT
 public:
  static constexpr int kDefaultLoadTimeLimitMs = 20000;
  static constexpr int kMaxNavigations = 10;
  static constexpr qint64 kDefaultRendererMemoryLimit = qint64(1536) << 20;

  explicit WebEngineBrowser(QObject* parent = nullptr);
  ~WebEngineBrowser() override;

  void Navigate(const QString& url) override;
  void Stop() override;
  void Quit() override;
  void setTheaterMode(bool on) override;
  QString LocationURL() const override;
  const Document& document() const override { return m_document; }
  void setElementFilter(const QStringList& startMarkers) override;
  QStringList pageRequests() const override { return m_requests; }

  QWebEnginePage* page() const;
  bool theaterMode() const { return m_theaterMode; }
  void setLoadTimeLimit(int ms) { m_limit.setInterval(ms); }
  // The User-Agent of the browser's own requests, the engines' one.
  void setUserAgent(const QByteArray& userAgent);
  void setRendererMemoryLimit(qint64 bytes) { m_memoryLimit = bytes; }

 Q_SIGNALS:
  void theaterModeChanged(bool on);

 private:
  class Page;
  friend class Page;

  // The top-level load being waited for, with every address it went through
  // (redirects, page-initiated navigations while it ran, refused ones).
  struct Load {
    bool requested = false;  // by Navigate()
    QString address;
    QList<QUrl> chain;
    bool refusedOne = false;
    int navigations = 0;     // accepted ones in the chain
    bool capped = false;     // one was refused for their number
    quint64 readSerial = 0;  // of the document read last started
  };

  // A load given up at the time limit, reported once its renderer answered
  // or ended.
  struct GivenUp {
    QString url;
    quint64 serial = 0;
  };

  bool acceptNavigation(const QUrl& url, bool mainFrame);
  void refuseNewWindow();
  void onLoadingChanged(const QWebEngineLoadingInfo& info);
  void onDownload(QWebEngineDownloadRequest* download);
  void onTimeLimit();
  void onRendererEnded();
  void onMemoryCheck();
  void onPageRequest(const QUrl& url);
  void endRenderer(qint64 pid);
  void reportGivenUp(const GivenUp& givenUp);
  void readDocument();
  void openLoad(bool requested, const QString& address, const QUrl& url);
  void closeLoad();
  // Takes its own copy: the address may be the load's, which closing it frees.
  void fail(QString url);

  // Declared before the profile, so that it outlives the profile's use of it.
  std::unique_ptr<PageRequestWatch> m_requestWatch;
  std::unique_ptr<QWebEngineProfile> m_profile;
  std::unique_ptr<QWebEngineUrlSchemeHandler> m_mediaSchemes;
  std::unique_ptr<Page> m_page;
  QTimer m_limit;
  std::optional<Load> m_load;
  std::optional<GivenUp> m_givenUp;
  QTimer m_memoryWatch;
  qint64 m_memoryLimit = kDefaultRendererMemoryLimit;
  qint64 m_endedPid = 0;
  QStringList m_requests;
  QSet<QString> m_requested;
  // Bumped whenever a document read in flight becomes stale.
  quint64 m_serial = 0;
  QString m_script;
  Document m_document;
  bool m_theaterMode = false;
};
