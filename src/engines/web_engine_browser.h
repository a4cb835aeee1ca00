#pragma once

#include <QList>
#include <QTimer>
#include <QUrl>
#include <memory>
#include <optional>

#include "playback/web_browser.h"

class QWebEngineDownloadRequest;
class QWebEngineLoadingInfo;
class QWebEnginePage;
class QWebEngineProfile;
class QWebEngineUrlSchemeHandler;

// The browser on Qt WebEngine: one page in its own off-the-record profile,
// shown by the window in a view (page()) or running with no view at all.
//
// Every top-level load ends in exactly one event: DocumentComplete once the
// page has loaded and its document has been read, or NavigateError when it
// failed, answered with an HTTP error, or did not finish within the time
// limit (a renderer that then does not answer either is ended, so that the
// next page gets a fresh one). A load started by Navigate() that yields no
// page (a download, a refused media address, no content) ends in
// NavigateError too, so a caller always hears back; such loads started by the
// page itself end silently. Loads ended by Stop(), Quit() or a newer
// Navigate() raise nothing.
class WebEngineBrowser : public WebBrowser {
  Q_OBJECT
 public:
  static constexpr int kDefaultLoadTimeLimitMs = 20000;

  explicit WebEngineBrowser(QObject* parent = nullptr);
  ~WebEngineBrowser() override;

  void Navigate(const QString& url) override;
  void Stop() override;
  void Quit() override;
  void setTheaterMode(bool on) override;
  QString LocationURL() const override;
  const Document& document() const override { return m_document; }
  void setElementFilter(const QStringList& startMarkers) override;

  QWebEnginePage* page() const;
  bool theaterMode() const { return m_theaterMode; }
  void setLoadTimeLimit(int ms) { m_limit.setInterval(ms); }
  // The User-Agent of the browser's own requests, the engines' one.
  void setUserAgent(const QByteArray& userAgent);

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
  void reportGivenUp(const GivenUp& givenUp);
  void readDocument();
  void openLoad(bool requested, const QString& address, const QUrl& url);
  void closeLoad();
  void fail(const QString& url);

  std::unique_ptr<QWebEngineProfile> m_profile;
  std::unique_ptr<QWebEngineUrlSchemeHandler> m_mediaSchemes;
  std::unique_ptr<Page> m_page;
  QTimer m_limit;
  std::optional<Load> m_load;
  std::optional<GivenUp> m_givenUp;
  // Bumped whenever a document read in flight becomes stale.
  quint64 m_serial = 0;
  QString m_script;
  Document m_document;
  bool m_theaterMode = false;
};
