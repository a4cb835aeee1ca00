#include "engines/web_engine_browser.h"

#include <QPointer>
#include <QWebEngineDownloadRequest>
#include <QWebEngineLoadingInfo>
#include <QWebEnginePage>
#include <QWebEngineProfile>
#include <QWebEngineScript>
#include <QWebEngineSettings>
#include <QWebEngineUrlRequestJob>
#include <QWebEngineUrlSchemeHandler>
#include <csignal>
#include <memory>

#include "engines/page_request_watch.h"
#include "engines/renderer_memory.h"
#include "engines/web_document_script.h"
#include "engines/web_engine_setup.h"

namespace {

// Chromium lets a page navigate to a registered scheme only when the profile
// has a handler for it; navigations are refused before they reach it.
class RefusingSchemeHandler : public QWebEngineUrlSchemeHandler {
 public:
  void requestStarted(QWebEngineUrlRequestJob* job) override {
    job->fail(QWebEngineUrlRequestJob::RequestDenied);
  }
};

QString addressOf(const QUrl& url) { return url.toString(QUrl::FullyEncoded); }

// How long a renderer may take to answer after a load was given up.
constexpr int kRendererAnswerMs = 1000;
constexpr int kMemoryCheckMs = 250;
// What a page may request of its own is kept up to this, for the crawl.
constexpr qsizetype kMaxPageRequests = 1000;
constexpr qsizetype kMaxRequestLength = 8192;

bool isBlank(const QUrl& url) { return url.isEmpty() || url.scheme() == QLatin1String("about"); }

}  // namespace

// The page: asks the browser about navigations and new windows, and keeps
// page scripts from showing dialogs or writing to the console.
class WebEngineBrowser::Page : public QWebEnginePage {
 public:
  Page(QWebEngineProfile* profile, WebEngineBrowser& browser)
      : QWebEnginePage(profile), m_browser(browser) {}

 protected:
  bool acceptNavigationRequest(const QUrl& url, NavigationType, bool isMainFrame) override {
    return m_browser.acceptNavigation(url, isMainFrame);
  }
  QWebEnginePage* createWindow(WebWindowType) override {
    m_browser.refuseNewWindow();
    return nullptr;
  }
  void javaScriptAlert(const QUrl&, const QString&) override {}
  bool javaScriptConfirm(const QUrl&, const QString&) override { return false; }
  bool javaScriptPrompt(const QUrl&, const QString&, const QString&, QString*) override {
    return false;
  }
  void javaScriptConsoleMessage(JavaScriptConsoleMessageLevel, const QString&, int,
                                const QString&) override {}

 private:
  WebEngineBrowser& m_browser;
};

void WebEngineBrowser::setUserAgent(const QByteArray& userAgent) {
  m_profile->setHttpUserAgent(QString::fromUtf8(userAgent));
}

WebEngineBrowser::WebEngineBrowser(QObject* parent)
    : m_requestWatch(std::make_unique<PageRequestWatch>()),
      m_profile(std::make_unique<QWebEngineProfile>()),
      m_mediaSchemes(std::make_unique<RefusingSchemeHandler>()) {
  setParent(parent);
  QWebEngineSettings* settings = m_profile->settings();
  // Otherwise unknown schemes are handed to the desktop's default programs.
  settings->setUnknownUrlSchemePolicy(QWebEngineSettings::DisallowUnknownUrlSchemes);
  for (const QByteArray& scheme : {QByteArrayLiteral("mms"), QByteArrayLiteral("rtsp")})
    m_profile->installUrlSchemeHandler(scheme, m_mediaSchemes.get());
  connect(m_profile.get(), &QWebEngineProfile::downloadRequested, this,
          &WebEngineBrowser::onDownload);
  m_profile->setUrlRequestInterceptor(m_requestWatch.get());
  connect(m_requestWatch.get(), &PageRequestWatch::requested, this,
          &WebEngineBrowser::onPageRequest, Qt::QueuedConnection);

  m_page = std::make_unique<Page>(m_profile.get(), *this);
  connect(m_page.get(), &QWebEnginePage::loadingChanged, this,
          &WebEngineBrowser::onLoadingChanged);
  connect(m_page.get(), &QWebEnginePage::renderProcessTerminated, this,
          &WebEngineBrowser::onRendererEnded);

  m_limit.setSingleShot(true);
  m_limit.setInterval(kDefaultLoadTimeLimitMs);
  connect(&m_limit, &QTimer::timeout, this, &WebEngineBrowser::onTimeLimit);
  m_memoryWatch.setInterval(kMemoryCheckMs);
  connect(&m_memoryWatch, &QTimer::timeout, this, &WebEngineBrowser::onMemoryCheck);
  m_memoryWatch.start();
  setElementFilter({});
}

// The page goes first, while everything its last signals and script answers
// could touch still exists; those answers find the load closed.
WebEngineBrowser::~WebEngineBrowser() {
  closeLoad();
  m_page->disconnect(this);
  m_page.reset();
}

QWebEnginePage* WebEngineBrowser::page() const { return m_page.get(); }

void WebEngineBrowser::Navigate(const QString& url) {
  const QUrl target = QUrl::fromUserInput(url);
  openLoad(true, url, target);
  if (target.isValid()) {
    m_page->load(target);
    return;
  }
  // Callers expect the answer after Navigate has returned.
  const quint64 serial = m_serial;
  QTimer::singleShot(0, this, [this, serial, url] {
    if (serial == m_serial && m_load) fail(url);
  });
}

void WebEngineBrowser::Stop() {
  closeLoad();
  m_page->triggerAction(QWebEnginePage::Stop);
}

void WebEngineBrowser::Quit() {
  Stop();
  m_page->load(QUrl(QStringLiteral("about:blank")));
}

void WebEngineBrowser::setTheaterMode(bool on) {
  if (on == m_theaterMode) return;
  m_theaterMode = on;
  Q_EMIT theaterModeChanged(on);
}

QString WebEngineBrowser::LocationURL() const {
  const QUrl url = m_page->url();
  return isBlank(url) ? QString() : addressOf(url);
}

void WebEngineBrowser::setElementFilter(const QStringList& startMarkers) {
  m_script = webengine::documentScript(startMarkers);
}

bool WebEngineBrowser::acceptNavigation(const QUrl& url, bool mainFrame) {
  bool accepted = !webengine::isMediaScheme(url);
  if (!mainFrame) return accepted;
  Q_EMIT BeforeNavigate2(addressOf(url));
  if (m_load) {
    // A page that keeps navigating (refreshing itself, pages refreshing each
    // other) stays where it is after so many steps.
    if (accepted && m_load->navigations >= kMaxNavigations) {
      accepted = false;
      m_load->capped = true;
    }
    m_load->chain.append(url);
    m_load->refusedOne |= !accepted;
    if (accepted) {
      ++m_load->navigations;
      // A document read in flight would describe the page being left.
      ++m_serial;
    }
  } else if (accepted && !isBlank(url)) {
    openLoad(false, addressOf(url), url);
    m_load->navigations = 1;
  }
  if (accepted) {
    m_requests.clear();
    m_requested.clear();
  }
  return accepted;
}

void WebEngineBrowser::onPageRequest(const QUrl& url) {
  const QString address = addressOf(url);
  if (m_requests.size() >= kMaxPageRequests || address.size() > kMaxRequestLength) return;
  if (m_requested.contains(address)) return;
  m_requested.insert(address);
  m_requests << address;
}

void WebEngineBrowser::refuseNewWindow() {
  bool cancel = false;
  Q_EMIT NewWindow2(&cancel);
}

void WebEngineBrowser::onDownload(QWebEngineDownloadRequest* download) {
  bool cancel = false;
  Q_EMIT FileDownload(&cancel);
  download->cancel();
}

void WebEngineBrowser::onLoadingChanged(const QWebEngineLoadingInfo& info) {
  if (info.status() == QWebEngineLoadingInfo::LoadStartedStatus) return;
  // Ends of loads we no longer wait for (stopped, replaced) are stale.
  if (!m_load || !m_load->chain.contains(info.url())) return;
  switch (info.status()) {
    case QWebEngineLoadingInfo::LoadSucceededStatus:
      readDocument();
      return;
    case QWebEngineLoadingInfo::LoadFailedStatus:
      fail(addressOf(info.url()));
      return;
    default:
      break;
  }
  // Stopped: a page kept from navigating on is read as it stands, once the
  // read of its last load (if one runs) has not answered for it.
  if (m_load->capped) {
    if (m_load->readSerial != m_serial) readDocument();
    return;
  }
  // A page that went on to a media address has still loaded, as far as
  // Chromium let it.
  const QUrl shown = m_page->url();
  if (m_load->refusedOne && shown != info.url() && m_load->chain.contains(shown))
    readDocument();
  else if (m_load->requested)
    fail(addressOf(info.url()));
  else
    closeLoad();
}

void WebEngineBrowser::onTimeLimit() {
  if (!m_load) return;
  const QString url = m_load->address;
  closeLoad();
  m_page->triggerAction(QWebEnginePage::Stop);
  // A renderer stuck in a page's script or parser would stall every later
  // page of that site too: it must show a sign of life, or it is ended and
  // the error follows its end.
  const qint64 pid = m_page->renderProcessPid();
  auto settled = std::make_shared<bool>(false);
  QPointer<WebEngineBrowser> self(this);
  auto settle = [self, settled, pid, givenUp = GivenUp{url, m_serial}](bool answered) {
    if (!self || *settled) return;
    *settled = true;
    if (answered || pid <= 0 || self->m_page->renderProcessPid() != pid) {
      self->reportGivenUp(givenUp);
      return;
    }
    self->m_givenUp = givenUp;
    self->endRenderer(pid);
  };
  m_page->runJavaScript(QStringLiteral("0"), QWebEngineScript::ApplicationWorld,
                        [settle](const QVariant&) { settle(true); });
  QTimer::singleShot(kRendererAnswerMs, this, [settle] { settle(false); });
}

// Like a page over its time limit: the renderer is ended and its load given
// up; a page that bloats after it was answered just loses its renderer.
void WebEngineBrowser::onMemoryCheck() {
  const qint64 pid = m_page->renderProcessPid();
  if (pid <= 0 || pid == m_endedPid || webengine::residentBytes(pid) <= m_memoryLimit) return;
  if (m_load) {
    const QString url = m_load->address;
    closeLoad();
    m_givenUp = GivenUp{url, m_serial};
  }
  endRenderer(pid);
}

void WebEngineBrowser::endRenderer(qint64 pid) {
  m_endedPid = pid;
  ::kill(pid, SIGKILL);
}

void WebEngineBrowser::onRendererEnded() {
  if (m_givenUp) {
    const GivenUp givenUp = *m_givenUp;
    m_givenUp.reset();
    reportGivenUp(givenUp);
  } else if (m_load) {
    fail(m_load->address);
  }
}

void WebEngineBrowser::reportGivenUp(const GivenUp& givenUp) {
  // Nothing to report once a newer load or Stop() has taken over.
  if (givenUp.serial == m_serial) Q_EMIT NavigateError(givenUp.url);
}

// The reading runs within the load's time limit: a load that used it up is
// given up even while its document is being read.
void WebEngineBrowser::readDocument() {
  const quint64 serial = ++m_serial;
  m_load->readSerial = serial;
  const QString url = addressOf(m_page->url());
  QPointer<WebEngineBrowser> self(this);
  m_page->runJavaScript(m_script, QWebEngineScript::ApplicationWorld,
                        [self, serial, url](const QVariant& result) {
                          if (!self || serial != self->m_serial || !self->m_load) return;
                          self->m_document = webengine::documentFromScriptResult(result);
                          self->m_document.title = self->m_page->title();
                          self->m_document.sentTo = self->m_load->address;
                          self->closeLoad();
                          Q_EMIT self->DocumentComplete(url);
                        });
}

void WebEngineBrowser::openLoad(bool requested, const QString& address, const QUrl& url) {
  closeLoad();
  m_load = Load{requested, address, {url}, false};
  m_limit.start();
}

void WebEngineBrowser::closeLoad() {
  ++m_serial;
  m_load.reset();
  m_limit.stop();
}

void WebEngineBrowser::fail(QString url) {
  closeLoad();
  Q_EMIT NavigateError(url);
}
