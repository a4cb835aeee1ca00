// nettv crawl: a web search from a typed address in automatic mode, with
// the real browser offscreen, over a small site on 127.0.0.1.
#include <gtest/gtest.h>

#include <QTemporaryDir>

#include "base/text_file.h"
#include "cli/commands.h"
#include "cli_capture.h"
#include "library/station_files.h"
#include "local_http_server.h"

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
