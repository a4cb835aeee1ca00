#include <QElapsedTimer>
#include <QWebEnginePage>
#include <gtest/gtest.h>

#include "engines/web_engine_browser.h"
#include "local_http_server.h"
#include "web_browser_recorder.h"

namespace {

const QByteArray kHtml = "text/html; charset=utf-8";

// One browser and one server for the whole file: Chromium's start-up is the
// main cost of these tests.
class WebNavigationTest : public ::testing::Test {
 protected:
  static void SetUpTestSuite() {
    server = new LocalHttpServer;
    ASSERT_TRUE(server->start());
    server->addFile("/page.html", "<html><body><a href='/other.html'>other</a></body></html>",
                    kHtml);
    server->addFile("/other.html", "<html><body>other</body></html>", kHtml);
    server->addRedirect("/moved", server->url("/other.html"));
    server->addRedirect("/moved-to-media", "mms://media.example/live.wmv");
    server->addStatus("/missing", 404);
    server->addHanging("/hang");
    server->addFile("/links.html",
                    "<html><body><a id=mms href='mms://media.example/tv.wmv'>tv</a>"
                    "<a id=rtsp href='rtsp://media.example/radio.rm'>radio</a>"
                    "<a id=ram href='/radio.ram'>ram</a></body></html>",
                    kHtml);
    server->addFile("/goes-to-media.html",
                    "<html><body><p>before</p><script>location.href='mms://media.example/x.wmv'"
                    "</script></body></html>",
                    kHtml);
    server->addFile("/popup.html",
                    "<html><body><script>window.open('/other.html');</script>"
                    "<a href='/other.html' target='_blank' id=blank>new</a></body></html>",
                    kHtml);
    server->addFile("/play.asx", "<asx version='3.0'><entry><ref href='mms://m/x'/></entry></asx>",
                    "video/x-ms-asf");
    server->addFile("/radio.ram", "rtsp://media.example/radio.rm\n", "audio/x-pn-realaudio");
    browser = new WebEngineBrowser;
  }
  static void TearDownTestSuite() {
    delete browser;
    delete server;
  }

  void SetUp() override { browser->setLoadTimeLimit(WebEngineBrowser::kDefaultLoadTimeLimitMs); }
  void TearDown() override { browser->Stop(); }

  // Navigates and waits for the answer; returns the events without
  // BeforeNavigate2.
  QStringList load(const QString& url) {
    browser->Navigate(url);
    EXPECT_TRUE(events.waitForEnd()) << url.toStdString();
    return events.take();
  }
  void runInPage(const QString& script) { browser->page()->runJavaScript(script); }

  static inline LocalHttpServer* server = nullptr;
  static inline WebEngineBrowser* browser = nullptr;
  WebBrowserRecorder events{*browser};
};

TEST_F(WebNavigationTest, APageLoadsAndAServerRedirectCompletesWithItsTarget) {
  EXPECT_EQ(browser->LocationURL(), "") << "nothing loaded yet";
  browser->Navigate(server->url("/page.html"));
  ASSERT_TRUE(events.waitForEnd());
  EXPECT_EQ(events.take(true), QStringList({"BeforeNavigate2 " + server->url("/page.html"),
                                            "DocumentComplete " + server->url("/page.html")}));
  EXPECT_EQ(browser->LocationURL(), server->url("/page.html"));

  EXPECT_EQ(load(server->url("/moved")),
            QStringList({"DocumentComplete " + server->url("/other.html")}));
  EXPECT_EQ(browser->LocationURL(), server->url("/other.html"));
}

TEST_F(WebNavigationTest, AnHttpErrorOrARefusedConnectionIsANavigateError) {
  EXPECT_EQ(load(server->url("/missing")),
            QStringList({"NavigateError " + server->url("/missing")}));
  const QString refused = QString("http://127.0.0.1:%1/").arg(LocalHttpServer::refusedPort());
  EXPECT_EQ(load(refused), QStringList({"NavigateError " + refused}));
  EXPECT_NE(browser->LocationURL(), "") << "the crawl goes on after a failed page";
  EXPECT_EQ(load(""), QStringList({"NavigateError "})) << "an empty address";
}

TEST_F(WebNavigationTest, AHangingPageIsGivenUpAtTheTimeLimitAndTheNextLoadWorks) {
  browser->setLoadTimeLimit(400);
  QElapsedTimer clock;
  clock.start();
  EXPECT_EQ(load(server->url("/hang")), QStringList({"NavigateError " + server->url("/hang")}));
  EXPECT_GE(clock.elapsed(), 360) << "a coarse timer may fire a little early";
  EXPECT_LT(clock.elapsed(), 3000);
  EXPECT_EQ(load(server->url("/other.html")),
            QStringList({"DocumentComplete " + server->url("/other.html")}));
}

TEST_F(WebNavigationTest, StopQuitAndANewerNavigateSilenceTheLoadTheyEnd) {
  browser->setLoadTimeLimit(300);
  browser->Navigate(server->url("/hang"));
  WebBrowserRecorder::pump(50);
  browser->Stop();
  WebBrowserRecorder::pump(600);
  EXPECT_EQ(events.take(), QStringList());

  browser->Navigate(server->url("/hang"));
  WebBrowserRecorder::pump(50);
  EXPECT_EQ(load(server->url("/page.html")),
            QStringList({"DocumentComplete " + server->url("/page.html")}))
      << "only the newer navigation is answered";
  WebBrowserRecorder::pump(500);
  EXPECT_EQ(events.take(), QStringList());

  browser->Quit();
  WebBrowserRecorder::pump(300);
  EXPECT_EQ(events.take(), QStringList());
  EXPECT_EQ(browser->LocationURL(), "");
}

TEST_F(WebNavigationTest, MediaLinksAreRefusedWithoutAnError) {
  load(server->url("/links.html"));
  QStringList seen;
  for (const QString id : {"mms", "rtsp"}) {
    runInPage("document.getElementById('" + id + "').click()");
    ASSERT_TRUE(events.waitForEnd(3000, "BeforeNavigate2"));
    WebBrowserRecorder::pump(300);
    seen += events.take(true);
  }
  EXPECT_EQ(seen, QStringList({"BeforeNavigate2 mms://media.example/tv.wmv",
                                            "BeforeNavigate2 rtsp://media.example/radio.rm"}));
  EXPECT_EQ(browser->LocationURL(), server->url("/links.html")) << "the page stays";
}

TEST_F(WebNavigationTest, APageThatGoesOnToAMediaAddressStillCompletes) {
  EXPECT_EQ(load(server->url("/goes-to-media.html")),
            QStringList({"DocumentComplete " + server->url("/goes-to-media.html")}));
  ASSERT_FALSE(browser->document().elements.isEmpty());
  EXPECT_TRUE(browser->document().elements.first().contains("before"));
}

TEST_F(WebNavigationTest, NavigatingToAMediaAddressAnswersWithAnError) {
  // The caller waits for an answer; the address is not a page.
  EXPECT_EQ(load("mms://media.example/live.wmv"),
            QStringList({"NavigateError mms://media.example/live.wmv"}));
  EXPECT_EQ(load(server->url("/moved-to-media")),
            QStringList({"NavigateError mms://media.example/live.wmv"}));
}

TEST_F(WebNavigationTest, NewWindowsAreRaisedAndRefused) {
  EXPECT_EQ(load(server->url("/popup.html")),
            QStringList({"NewWindow2", "DocumentComplete " + server->url("/popup.html")}));
  runInPage("document.getElementById('blank').click()");
  ASSERT_TRUE(events.waitForEnd(3000, "NewWindow2"));
  WebBrowserRecorder::pump(300);
  EXPECT_EQ(events.take(), QStringList({"NewWindow2"}));
  EXPECT_EQ(browser->LocationURL(), server->url("/popup.html"));
}

TEST_F(WebNavigationTest, MediaFilesAreRaisedAsDownloadsAndCancelled) {
  // Asked for: the caller hears that no page came.
  browser->Navigate(server->url("/play.asx"));
  ASSERT_TRUE(events.waitForEnd(5000, "FileDownload"));
  ASSERT_TRUE(events.waitForEnd(5000, "NavigateError"));
  QStringList answer = events.take();
  answer.sort();
  EXPECT_EQ(answer, QStringList({"FileDownload", "NavigateError " + server->url("/play.asx")}));

  // Followed by the page: no error.
  load(server->url("/links.html"));
  runInPage("document.getElementById('ram').click()");
  ASSERT_TRUE(events.waitForEnd(5000, "FileDownload"));
  WebBrowserRecorder::pump(300);
  EXPECT_EQ(events.take(), QStringList({"FileDownload"}));
  EXPECT_EQ(browser->LocationURL(), server->url("/links.html"));
}

}  // namespace
