// The browser's bounds against pages that never settle: navigation loops,
// a renderer that eats memory; and what a page's own player requests.
#include <QElapsedTimer>
#include <gtest/gtest.h>

#include "engines/web_engine_browser.h"
#include "local_http_server.h"
#include "web_browser_recorder.h"

namespace {

const QByteArray kHtml = "text/html; charset=utf-8";

QByteArray refreshTo(const QByteArray& target) {
  return "<html><head><meta http-equiv=\"refresh\" content=\"0" + target +
         "\"></head><body>loop</body></html>";
}

class WebBoundsTest : public ::testing::Test {
 protected:
  static void SetUpTestSuite() {
    server = new LocalHttpServer;
    ASSERT_TRUE(server->start());
    server->addFile("/loop/self.html", refreshTo(""), kHtml);
    server->addFile("/loop/a.html", refreshTo(";url=/loop/b.html"), kHtml);
    server->addFile("/loop/b.html", refreshTo(";url=/loop/a.html"), kHtml);
    server->addFile("/loop/reload.html",
                    "<html><body><p>again</p><script>location.reload()</script></body></html>",
                    kHtml);
    server->addFile("/other.html", "<html><body>other</body></html>", kHtml);
    server->addHanging("/hang");
    // Takes 640 MB at once, while an image keeps the load open.
    server->addFile("/bloat.html",
                    "<html><body><img src=\"/hang\"><script>var keep = [];"
                    "while (keep.length < 80) keep.push(new Float64Array(1 << 20).fill(1));"
                    "</script></body></html>",
                    kHtml);
    server->addFile("/player.html",
                    "<html><head><title>播放</title></head><body>"
                    "<iframe src=\"/frame.html\"></iframe><img src=\"/logo.png\">"
                    "<script>fetch('/live/' + 'b.m3u8');"
                    "var x = new XMLHttpRequest(); x.open('GET', '/api/c.json'); x.send();"
                    "</script></body></html>",
                    kHtml);
    server->addFile("/frame.html", "<html><body>frame</body></html>", kHtml);
    server->addFile("/live/b.m3u8", "#EXTM3U\n", "application/vnd.apple.mpegurl");
    server->addFile("/api/c.json", "{}", "application/json");
    browser = new WebEngineBrowser;
  }
  static void TearDownTestSuite() {
    delete browser;
    delete server;
  }

  void TearDown() override {
    browser->Stop();
    browser->setLoadTimeLimit(WebEngineBrowser::kDefaultLoadTimeLimitMs);
    browser->setRendererMemoryLimit(WebEngineBrowser::kDefaultRendererMemoryLimit);
  }

  static int requestsOf(const QString& prefix) {
    return static_cast<int>(server->requests().filter(prefix).size());
  }

  static inline LocalHttpServer* server = nullptr;
  static inline WebEngineBrowser* browser = nullptr;
  WebBrowserRecorder events{*browser};
};

TEST_F(WebBoundsTest, APageThatKeepsNavigatingIsAnsweredWithinItsTimeLimit) {
  const int limitMs = 8000;
  browser->setLoadTimeLimit(limitMs);
  for (const char* path : {"/loop/self.html", "/loop/a.html", "/loop/reload.html"}) {
    const int before = requestsOf("/loop/");
    QElapsedTimer clock;
    clock.start();
    browser->Navigate(server->url(path));
    ASSERT_TRUE(events.waitForEnd(limitMs + 5000)) << path;
    EXPECT_LT(clock.elapsed(), limitMs + 1500) << path << ": the limit is never extended";
    const QStringList answer = events.take();
    ASSERT_EQ(answer.size(), 1) << path;
    EXPECT_TRUE(answer.first().startsWith("DocumentComplete")) << answer.first().toStdString();
    // The requested load plus at most ten navigations, and a little slack
    // for the page's next step already under way.
    EXPECT_LE(requestsOf("/loop/") - before, WebEngineBrowser::kMaxNavigations + 2) << path;
    browser->Stop();
  }
}

TEST_F(WebBoundsTest, ARendererOverItsMemoryLimitIsEndedAndItsPageGivenUp) {
  browser->setLoadTimeLimit(60000);
  browser->setRendererMemoryLimit(qint64(300) << 20);
  QElapsedTimer clock;
  clock.start();
  browser->Navigate(server->url("/bloat.html"));
  ASSERT_TRUE(events.waitForEnd(20000));
  EXPECT_EQ(events.take(), QStringList({"NavigateError " + server->url("/bloat.html")}));
  EXPECT_LT(clock.elapsed(), 20000) << "ended for its memory, not at the time limit";
  browser->setRendererMemoryLimit(WebEngineBrowser::kDefaultRendererMemoryLimit);
  browser->Navigate(server->url("/other.html"));
  ASSERT_TRUE(events.waitForEnd());
  EXPECT_EQ(events.take(), QStringList({"DocumentComplete " + server->url("/other.html")}));
}

TEST_F(WebBoundsTest, ThePagesOwnRequestsForPlayersAreKeptAndGoOutUnchanged) {
  browser->Navigate(server->url("/player.html"));
  ASSERT_TRUE(events.waitForEnd());
  EXPECT_EQ(events.take(), QStringList({"DocumentComplete " + server->url("/player.html")}));
  EXPECT_EQ(browser->document().title, "播放");
  EXPECT_EQ(browser->document().sentTo, server->url("/player.html"));
  QDeadlineTimer deadline(5000);
  while (browser->pageRequests().size() < 3 && !deadline.hasExpired()) WebBrowserRecorder::pump(20);
  QStringList requests = browser->pageRequests();
  requests.sort();
  EXPECT_EQ(requests, QStringList({server->url("/api/c.json"), server->url("/frame.html"),
                                   server->url("/live/b.m3u8")}))
      << "fetch, XHR and frames; no images, not the page itself";
  for (const char* path : {"/live/b.m3u8", "/api/c.json", "/logo.png"})
    EXPECT_EQ(requestsOf(path), 1) << path;
  // The next page starts afresh.
  browser->Navigate(server->url("/other.html"));
  ASSERT_TRUE(events.waitForEnd());
  EXPECT_EQ(browser->pageRequests(), QStringList());
}

}  // namespace
