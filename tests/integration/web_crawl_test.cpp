// A whole web search through the real browser, offscreen: a small site on
// 127.0.0.1 is crawled to its end, its media addresses recorded once each,
// and the station test then plays them on fake players.
#include <QStringEncoder>
#include <QTemporaryDir>
#include <QTimer>
#include <gtest/gtest.h>

#include "form/form.h"
#include "app/startup.h"
#include "app/wiring.h"
#include "base/core_host.h"
#include "base/text_file.h"
#include "engines/web_engine_browser.h"
#include "fake_engines.h"
#include "playlists/station_files.h"
#include "local_http_server.h"
#include "web_browser_recorder.h"

namespace {

// The real browser, counting the pages the program asks for: each is
// answered by exactly one DocumentComplete or NavigateError.
class CountingBrowser : public WebEngineBrowser {
 public:
  void Navigate(const QString& url) override {
    ++asked;
    WebEngineBrowser::Navigate(url);
  }
  int asked = 0;
};

QByteArray gbk(const QString& text) {
  QStringEncoder encoder("GB18030");
  return encoder.encode(text);
}

class WebCrawlTest : public ::testing::Test {
 protected:
  WebCrawlTest() {
    EXPECT_TRUE(server.start());
    serveSite();
    browser.setLoadTimeLimit(2500);
    scriptPlayers();
    app::wire(f);
    app::Form_Load(f);
    // Nothing plays by itself: the test decides what runs.
    f.Timer10.setEnabled(false);
    QObject::connect(&browser, &WebBrowser::DocumentComplete, [this] { ++answered; });
    QObject::connect(&browser, &WebBrowser::NavigateError, [this] { ++answered; });
  }
  ~WebCrawlTest() override {
    for (Timer* t : {&f.Timer5, &f.Timer8, &f.Timer9, &f.Timer10}) t->setEnabled(false);
  }

  QString url(const QString& path) const { return server.url(path); }

  void serveSite() {
    const QByteArray utf8 = "text/html";
    server.addFile("/index.html",
                   "<html><head><meta charset=\"utf-8\"><title>网络电视</title></head><body>"
                   "<a href=\"/index.html\">首页</a><ul>"
                   "<li><a href=\"mms://127.0.0.1/live/cctv1.wmv\">CCTV-1</a></li>"
                   "<li><a href=\"/media/2.asx\">12</a></li>"
                   "<li><a href=\"/gbk.html\"><font color=\"red\"><b>湖南频道</b></font></a></li>"
                   "<li><a href=\"/play.php?f=7.asx\">动态</a></li>"
                   "<li><a href=\"/search?page=2\">下一页</a></li>"
                   "<li><a href=\"mailto:tv@example.com\">邮件</a></li>"
                   "<li><a href=\"/dead.html\">坏</a></li>"
                   "<li><a href=\"/hang.html\">慢</a></li>"
                   "<li><a href=\"/old.html\">旧</a></li>"
                   "</ul></body></html>",
                   utf8);
    server.addFile("/gbk.html",
                   gbk("<html><body><a href=\"/index.html\">返回</a>"
                       "<a href=\"rtsp://127.0.0.1/radio/1.rm\">湖南卫视</a>"
                       "<a href=\"/media/3.wmv\"><b>新闻</b></a>"
                       "<a href=\"/index.html\">首页</a>"
                       "<p>直播 mms://127.0.0.1/text/4.wmv</p></body></html>"),
                   "text/html; charset=gbk");
    server.addFile("/search",
                   "<html><body><a href=\"/index.html\">首页</a>"
                   "<a href=\"/media/5.mp3\">5</a><a href=\"/gbk.html\">湖南</a>"
                   "<embed src=\"mms://127.0.0.1/live/embed.wmv\"></body></html>",
                   "text/html; charset=utf-8");
    server.addFile("/play.php", "<asx version=\"3.0\"><entry><ref href=\"mms://127.0.0.1/x\"/>"
                   "</entry></asx>", "video/x-ms-asf");
    server.addHanging("/hang.html");
    server.addRedirect("/old.html", url("/utf8.html"));
    server.addFile("/utf8.html",
                   "<html><head><meta charset=\"utf-8\"></head><body>"
                   "<a href=\"/index.html\">首页</a>"
                   "<a href=\"/media/6.asx\"><font face=\"宋体\"><b>凤凰卫视</b></font></a>"
                   "<a href=\"mms://127.0.0.1/live/cctv1.wmv\">CCTV-1 again</a></body></html>",
                   utf8);
  }

  // An address plays when it names a live channel or a radio; any other
  // fails a moment after it was given. Like the real engines, the players
  // report only changes, and drop the reports of a load they have left.
  struct PlayerScript {
    std::function<int()> state;
    std::function<void(int)> raise;
    std::function<void()> fail;
    int buffering, playing, idle;
    int load = 0;
  };
  static bool plays(const QString& address) {
    return address.contains("/live/") || address.contains("/radio/");
  }
  void later(int ms, std::function<void()> fn) { QTimer::singleShot(ms, &browser, fn); }
  void report(PlayerScript& p, int load, int ms, int state) {
    later(ms, [&p, load, state] {
      if (load == p.load && p.state() != state) p.raise(state);
    });
  }
  void start(PlayerScript& p, const QString& address) {
    const int load = ++p.load;
    report(p, load, 5, p.buffering);
    if (plays(address)) return report(p, load, 30, p.playing);
    later(30, [&p, load] {
      if (load == p.load) p.fail();
    });
    report(p, load, 31, p.idle);
  }
  void scriptPlayers() {
    wmp.onSetURL = [this](const QString& address) {
      tried << address;
      start(wmpScript, address);
    };
    wmp.onClose = [this] { report(wmpScript, ++wmpScript.load, 5, MediaPlayer::Ready); };
    wmp.onStop = [this] {
      if (wmp.state != MediaPlayer::Ready)
        report(wmpScript, ++wmpScript.load, 5, MediaPlayer::Stopped);
    };
    real.onPlay = [this](const QString& source) {
      tried << "real:" + source;
      start(realScript, source);
    };
    real.onStop = [this] { report(realScript, ++realScript.load, 5, RealPlayer::Stopped); };
  }

  // Runs the event loop until done() holds or the limit passes.
  template <class Done>
  bool runUntil(Done done, int limitMs) {
    QDeadlineTimer deadline(limitMs);
    while (!done() && !deadline.hasExpired()) WebBrowserRecorder::pump(20);
    return done();
  }

  // As a user starts it: ticks manual mode so that the typed address is
  // opened, types it, starts the web search, then clears the tick so the
  // crawl goes on by itself.
  void crawl(const QString& start) {
    if (!f.Check2.checked()) f.Check2.userClick();
    f.tvm.setText(start);
    f.Command17.click();
    if (f.Check2.checked()) f.Check2.userClick();
    const bool ended = runUntil(
        [this] { return browser.asked > 0 && answered == browser.asked && !f.Timer9.enabled(); },
        60000);
    ASSERT_TRUE(ended) << "asked " << browser.asked << ", answered " << answered;
  }

  QStringList lines(const QString& file) const {
    return textfile::readLines(f.path(file)).value_or(QStringList());
  }

  LocalHttpServer server;
  QTemporaryDir dir;
  QStringList log;
  QStringList messages;
  CoreHost host{[this](const QString& text, const QString&) { messages << text; }};
  FakeMediaPlayer wmp{log};
  FakeRealPlayer real{log};
  CountingBrowser browser;
  Form f{host, wmp, real, browser, dir.path()};
  int answered = 0;
  PlayerScript wmpScript{[this] { return wmp.state; }, [this](int s) { wmp.raiseState(s); },
                         [this] { wmp.raiseError(-5); }, MediaPlayer::Buffering,
                         MediaPlayer::Playing, MediaPlayer::Ready};
  PlayerScript realScript{[this] { return real.props[RealPlayer::PlayState].toInt(); },
                          [this](int s) { real.raiseState(s); }, [this] { real.raiseError(-5); },
                          RealPlayer::Buffering, RealPlayer::Playing, RealPlayer::Stopped};
  QStringList tried;
};

TEST_F(WebCrawlTest, ASiteIsCrawledToItsEndAndItsStationsAreThenTested) {
  crawl(url("/index.html"));

  // Each find names the page it was found on as its Referer.
  const auto on = [this](const QString& name, const QString& address, const QString& page) {
    return name + "," + address + "|Referer=" + url(page) + ",";
  };
  const QStringList found = {on("CCTV-1", "mms://127.0.0.1/live/cctv1.wmv", "/index.html"),
                             on("tvm1", url("/media/2.asx"), "/index.html"),
                             on("湖南卫视", "rtsp://127.0.0.1/radio/1.rm", "/gbk.html"),
                             on("新闻", url("/media/3.wmv"), "/gbk.html"),
                             on("TVName4", "mms://127.0.0.1/text/4.wmv", "/gbk.html"),
                             on("tvm5", url("/media/5.mp3"), "/search?page=2"),
                             on("TVName6", "mms://127.0.0.1/live/embed.wmv", "/search?page=2"),
                             on("凤凰卫视", url("/media/6.asx"), "/utf8.html")};
  EXPECT_EQ(lines(library::kScannedFile), found);
  QStringList stations;
  for (int i = 0; i < f.tvm.count(); ++i) stations << f.tvm.item(i) + "," + f.dz1.item(i) + ",";
  EXPECT_EQ(stations, found);
  EXPECT_EQ(f.tvmx.items() + f.List3.items(), QStringList());
  // The start page, linked back to, was visited again and queued its dynamic
  // address anew; with no page left to visit it waits there.
  EXPECT_EQ(f.List2.items(), QStringList({url("/play.php?f=7.asx")}));
  // Links that are no web pages go straight to List1; the failing, hanging
  // and redirected pages were visited all the same.
  EXPECT_EQ(f.List1.items(),
            QStringList({"mailto:tv@example.com", url("/play.php?f=7.asx"), url("/gbk.html"),
                         url("/search?page=2"), url("/dead.html"), url("/hang.html"),
                         url("/old.html"), url("/index.html")}));
  EXPECT_EQ(server.requests().count("/utf8.html"), 1);
  EXPECT_TRUE(messages.isEmpty()) << messages.join('\n').toStdString();

  f.Command10.click();
  ASSERT_TRUE(runUntil([this] { return !messages.isEmpty(); }, 30000));
  EXPECT_EQ(messages, QStringList({"搜索完毕！"}));
  EXPECT_EQ(lines(library::kFoundFile), QStringList({found[0], found[2], found[6]}));
  EXPECT_EQ(f.tvm.items(), QStringList({"CCTV-1", "湖南卫视", "TVName6"}));
  for (const QString& line : found) {
    const QString address = line.section(',', 1, 1);
    EXPECT_TRUE(tried.contains(address) || tried.contains("real:" + address)) << line.toStdString();
  }
}

}  // namespace
