// nettv crawl: a web search from a typed address in automatic mode, with
// the real browser offscreen, over a small site on 127.0.0.1.
#include <gtest/gtest.h>

#include <QElapsedTimer>
#include <QFile>
#include <QTemporaryDir>

#include "base/text_file.h"
#include "cli/commands.h"
#include "cli_capture.h"
#include "playlists/station_files.h"
#include "local_http_server.h"
#include "media_fixtures.h"

using namespace cli;

namespace {

class CrawlCommand : public ::testing::Test {
 protected:
  void SetUp() override {
    ASSERT_TRUE(server.start());
    // The scan skips each page's first link, as the window does.
    page("/index.html", {link("/", "home"), link("/p2.html", "Page two"),
                         link("/p3.html", "Page three"), link("/media/alpha.mp3", "Alpha")});
    page("/p2.html",
         {link("/", "home"), link("/media/beta.mp3", "Beta"), link("/p4.html", "Missing page")});
    page("/p3.html", {link("/", "home"), link("/media/gamma.mp3", "Gamma")});
  }

  QString link(const QString& path, const QString& text) const {
    return QStringLiteral("<p><a href=\"%1\">%2</a></p>").arg(server.url(path), text);
  }

  void page(const QString& path, const QStringList& links) {
    server.addFile(path, ("<html><body>" + links.join("\n") + "</body></html>").toUtf8(),
                   "text/html; charset=utf-8");
  }

  int crawl(const QString& start, int maxPages, ConsoleCapture& capture) {
    CommandLine c;
    c.command = Command::Crawl;
    c.url = start;
    c.maxPages = maxPages;
    return runCrawl(c, dir.path(), capture.console, 5000);
  }

  QString scanned() const {
    return textfile::read(dir.filePath(library::kScannedFile)).value_or(QString());
  }

  QStringList pagesRequested() const { return server.requests().filter(".html"); }

  void html(const QString& path, const QString& text) {
    server.addFile(path, text.toUtf8(), "text/html; charset=utf-8");
  }

  LocalHttpServer server;
  QTemporaryDir dir;
};

}  // namespace

TEST_F(CrawlCommand, FollowsThePageQueueUntilItIsEmpty) {
  ConsoleCapture capture;
  EXPECT_EQ(crawl(server.url("/index.html"), 0, capture), kExitDone);
  for (const char* media : {"/media/alpha.mp3", "/media/beta.mp3", "/media/gamma.mp3"})
    EXPECT_EQ(scanned().count(server.url(media)), 1) << media << scanned().toStdString();
  for (const char* visited : {"/index.html", "/p2.html", "/p3.html", "/p4.html"})
    EXPECT_TRUE(pagesRequested().contains(visited)) << visited;
  // Plain progress lines when the output is no terminal, one per page.
  const QStringList progress = capture.outLines().filter("visited");
  EXPECT_GE(progress.size(), 4);
  EXPECT_TRUE(capture.outLines().last().contains("found 3 stations"))
      << capture.outLines().last().toStdString();
  // The folder has no gjz.txt: the crawl says once which markers it uses
  // and where the delivered lists are.
  const QStringList notes = capture.errText().split(u'\n').filter("no gjz.txt");
  ASSERT_EQ(notes.size(), 1) << capture.errText().toStdString();
  EXPECT_TRUE(notes.first().contains("built-in markers (.mp3-.dat-.ram-.rm-mms:-rtsp:-.asx-.wmv-."))
      << notes.first().toStdString();
  EXPECT_TRUE(notes.first().contains("data/gjz.txt in the source tree"));
}

TEST_F(CrawlCommand, StopsAfterTheGivenNumberOfPages) {
  ConsoleCapture capture;
  EXPECT_EQ(crawl(server.url("/index.html"), 1, capture), kExitDone);
  EXPECT_EQ(pagesRequested(), QStringList{"/index.html"});
  EXPECT_TRUE(scanned().contains(server.url("/media/alpha.mp3")));
  EXPECT_FALSE(scanned().contains(server.url("/media/beta.mp3")));
}

TEST_F(CrawlCommand, AStartPageThatCannotLoadIsBadInput) {
  ConsoleCapture capture;
  const QString refused =
      QStringLiteral("http://127.0.0.1:%1/").arg(LocalHttpServer::refusedPort());
  EXPECT_EQ(crawl(refused, 0, capture), kExitBadInput);
  EXPECT_TRUE(capture.errText().contains(refused));
  EXPECT_TRUE(scanned().isEmpty());
}

// Pages as today's web serves them, crawled with the delivered marker lists:
// the stream address is built by script, played inside a frame, only
// fetched, carries a token, or is refused without its page as Referer.
TEST_F(CrawlCommand, PlayerPagesYieldTheirStreamsWithThePageAsReferer) {
  ASSERT_TRUE(MediaFixtures::instance().ok());
  ASSERT_TRUE(QFile::copy(NETTV_DATA_DIR "/gjz.txt", dir.filePath("gjz.txt")));
  html("/tv/index.html", "<html><body>" + link("/", "home") + link("/tv/script.html", "脚本") +
                             link("/tv/frame.html", "框架") + link("/tv/fetch.html", "取流") +
                             link("/tv/token.html", "令牌") + link("/tv/locked.html", "防盗链") +
                             "</body></html>");
  html("/tv/script.html",
       "<html><body><div id=\"player\"></div><script>"
       "document.getElementById('player').innerHTML = '<video src=\"' + location.origin + "
       "'/live/built.m3u8\"></video>';</script></body></html>");
  html("/tv/frame.html", "<html><head><title>框架台</title></head><body>"
                         "<iframe src=\"/tv/player.html\"></iframe></body></html>");
  html("/tv/player.html",
       "<html><body><script>fetch('/live/' + 'framed.m3u8')</script></body></html>");
  html("/tv/fetch.html", "<html><head><title>取流台</title></head><body><script>"
                         "fetch('/live/' + 'fetched.m3u8')</script></body></html>");
  html("/tv/token.html",
       "<html><body><p>直播 " + server.url("/live/token.m3u8") +
           "?token=a1&amp;exp=99 </p></body></html>");
  html("/tv/locked.html", "<html><head><title>防盗链台</title></head><body><embed src=\"" +
                              server.url("/locked/live.mp3") +
                              "\" type=\"audio/mpeg\"></body></html>");
  for (const char* list : {"/live/built.m3u8", "/live/framed.m3u8", "/live/fetched.m3u8"})
    server.addFile(list, "#EXTM3U\n", "application/vnd.apple.mpegurl");
  server.addLocked("/locked/live.mp3", MediaFixtures::instance().bytes("tone.mp3"), "audio/mpeg",
                   "Referer", server.url("/tv/locked.html").toUtf8());

  ConsoleCapture capture;
  ASSERT_EQ(crawl(server.url("/tv/index.html"), 0, capture), kExitDone);
  EXPECT_FALSE(capture.errText().contains("gjz.txt")) << capture.errText().toStdString();
  const QStringList found =
      textfile::readLines(dir.filePath(library::kScannedFile)).value_or(QStringList());
  const auto line = [this](const QString& name, const QString& stream, const QString& page) {
    return name + "," + server.url(stream) + "|Referer=" + server.url(page) + ",";
  };
  const QStringList expected = {
      line("TVName0", "/live/built.m3u8", "/tv/script.html"),
      line("框架台", "/live/framed.m3u8", "/tv/frame.html"),
      line("取流台", "/live/fetched.m3u8", "/tv/fetch.html"),
      line("TVName3", "/live/token.m3u8?token=a1&exp=99", "/tv/token.html"),
      line("TVName4", "/locked/live.mp3", "/tv/locked.html"),
  };
  EXPECT_EQ(found, expected) << found.join('\n').toStdString();

  // The stream refused to others plays from the found-stations file.
  MpvOptions players;
  players.startTimeoutMs = 5000;
  players.networkTimeoutMs = 3000;
  ConsoleCapture scan;
  EXPECT_EQ(runScan(CommandLine{}, dir.path(), scan.console, players), kExitDone);
  EXPECT_TRUE(textfile::readLines(dir.filePath(library::kFoundFile))
                  .value_or(QStringList())
                  .contains(expected.last()))
      << scan.out.data().toStdString();
}

TEST_F(CrawlCommand, PagesThatKeepNavigatingDoNotHoldTheCrawl) {
  const auto refresh = [](const QString& target) {
    return "<html><head><meta http-equiv=\"refresh\" content=\"0" + target +
           "\"></head><body>loop</body></html>";
  };
  html("/loop/index.html", "<html><body>" + link("/", "home") + link("/loop/self.html", "自己") +
                               link("/loop/a.html", "甲") + link("/loop/reload.html", "重载") +
                               link("/loop/end.html", "终") + "</body></html>");
  html("/loop/self.html", refresh(""));
  html("/loop/a.html", refresh(";url=/loop/b.html"));
  html("/loop/b.html", refresh(";url=/loop/a.html"));
  html("/loop/reload.html", "<html><body><script>location.reload()</script></body></html>");
  html("/loop/end.html", "<html><body>" + link("/", "home") + link("/media/end.mp3", "终点") +
                             "</body></html>");
  QElapsedTimer clock;
  clock.start();
  ConsoleCapture capture;
  EXPECT_EQ(crawl(server.url("/loop/index.html"), 0, capture), kExitDone);
  EXPECT_TRUE(scanned().contains(server.url("/media/end.mp3"))) << scanned().toStdString();
  // Four pages at 5 s each at the very most, with room for a loaded machine.
  EXPECT_LT(clock.elapsed(), 40000);

  // A self-refreshing start page is read as it stands, and the crawl ends.
  ConsoleCapture single;
  EXPECT_EQ(crawl(server.url("/loop/self.html"), 3, single), kExitDone);
  EXPECT_TRUE(single.outLines().last().contains("visited 1 pages"))
      << single.outLines().last().toStdString();
}
