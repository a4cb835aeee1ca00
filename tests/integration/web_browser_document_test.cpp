#include <QStringEncoder>
#include <gtest/gtest.h>

#include "engines/web_engine_browser.h"
#include "local_http_server.h"
#include "web_browser_recorder.h"

namespace {

using Link = Document::Link;

QByteArray gbk(const QString& text) {
  QStringEncoder encoder("GB18030");
  return encoder.encode(text);
}

// Links as "innerHTML -> href", for readable comparisons.
QStringList texts(const QList<Link>& links) {
  QStringList out;
  for (const Link& l : links) out << l.innerHTML + " -> " + l.href;
  return out;
}

qsizetype totalLength(const QStringList& texts) {
  qsizetype n = 0;
  for (const QString& t : texts) n += t.size();
  return n;
}

// One browser and one server for the whole file: Chromium's start-up is the
// main cost of these tests.
class WebDocumentTest : public ::testing::Test {
 protected:
  static void SetUpTestSuite() {
    server = new LocalHttpServer;
    ASSERT_TRUE(server->start());
    browser = new WebEngineBrowser;
  }
  static void TearDownTestSuite() {
    delete browser;
    delete server;
  }
  void SetUp() override { browser->setElementFilter({}); }

  // Serves body at path, loads it and returns the document read.
  const Document& read(const QString& path, const QByteArray& body,
                       const QByteArray& type = "text/html") {
    server->addFile(path, body, type);
    browser->Navigate(server->url(path));
    EXPECT_TRUE(events.waitForEnd(20000));
    EXPECT_EQ(events.take(), QStringList({"DocumentComplete " + server->url(path)}));
    return browser->document();
  }

  static inline LocalHttpServer* server = nullptr;
  static inline WebEngineBrowser* browser = nullptr;
  WebBrowserRecorder events{*browser};
};

TEST_F(WebDocumentTest, Utf8LinksKeepTheirTextsAndGiveAbsoluteTargetsInOrder) {
  const Document& doc = read("/utf8/index.html",
                             "<html><head><meta charset=\"utf-8\"><title>电视</title></head><body>"
                             "<a href=\"/tv/1.html\">中央一套</a>"
                             "<a href=\"sub/2.asx\"><font color=red><b>凤凰卫视</b></font></a>"
                             "<a href=\"http://other.example/x?id=3&amp;b=4\">12</a>"
                             "<a name=\"anchor\">no target</a>"
                             "<a href=\"mailto:tv@example.com\">mail</a>"
                             "</body></html>");
  EXPECT_EQ(texts(doc.links),
            QStringList({"中央一套 -> " + server->url("/tv/1.html"),
                         "<font color=\"red\"><b>凤凰卫视</b></font> -> " +
                             server->url("/utf8/sub/2.asx"),
                         "12 -> http://other.example/x?id=3&b=4", "no target -> ",
                         "mail -> mailto:tv@example.com"}));
}

TEST_F(WebDocumentTest, GbkPagesAreDecodedByHeaderOrByMetaCharset) {
  const QByteArray body = gbk(
      "<html><body><a href=\"/台/2.html\">湖南卫视</a><p>频道 mms://h/x.wmv</p></body></html>");
  const Document& byHeader = read("/gbk-header.html", body, "text/html; charset=gbk");
  ASSERT_EQ(byHeader.links.size(), 1);
  EXPECT_EQ(byHeader.links[0].innerHTML, "湖南卫视");
  EXPECT_EQ(byHeader.links[0].href, server->url("/%E5%8F%B0/2.html")) << "encoded as a URL";
  EXPECT_TRUE(byHeader.elements.contains("频道 mms://h/x.wmv"));

  const Document& byMeta = read(
      "/gbk-meta.html",
      gbk("<html><head><meta http-equiv=\"Content-Type\" content=\"text/html; charset=gb2312\">"
          "</head><body><a href=\"/a.html\">东方卫视</a></body></html>"));
  ASSERT_EQ(byMeta.links.size(), 1);
  EXPECT_EQ(byMeta.links[0].innerHTML, "东方卫视");
}

TEST_F(WebDocumentTest, EveryElementInDocumentOrderWithItsInnerHtml) {
  const Document& doc = read("/elements.html",
                             "<html><head><title>T</title></head><body><div id=\"a\"><p>x<b>y</b>"
                             "</p></div><p>z</p></body></html>");
  EXPECT_EQ(doc.elements,
            QStringList({"<head><title>T</title></head><body><div id=\"a\"><p>x<b>y</b></p></div>"
                         "<p>z</p></body>",
                         "<title>T</title>", "T",
                         "<div id=\"a\"><p>x<b>y</b></p></div><p>z</p>", "<p>x<b>y</b></p>",
                         "x<b>y</b>", "y", "z"}));
}

TEST_F(WebDocumentTest, TheFilterLeavesOutElementsWithoutAStartMarkerAndTheirDescendants) {
  const QByteArray page =
      "<html><head><title>t</title></head><body>"
      "<div><p>MMS://Host/a.wmv</p><span>nothing</span></div>"
      "<ul><li>plain</li><li><i>none</i></li></ul>"
      "<p><a href=\"/x\">HTTP://caps</a></p></body></html>";
  browser->setElementFilter({"http://", "mms://"});
  const Document& doc = read("/filter.html", page);
  QStringList kept;
  for (const QString& e : doc.elements) kept << e.left(12);
  EXPECT_EQ(kept, QStringList({"<head><title", "<div><p>MMS:", "<p>MMS://Hos", "MMS://Host/a",
                               "<a href=\"/x\"", "HTTP://caps"}));
  EXPECT_EQ(doc.links.size(), 1) << "links are never filtered";

  browser->setElementFilter({"http://", ""});
  EXPECT_EQ(read("/filter.html", page).elements.size(), 13) << "an empty marker keeps all";
}

// Above the per-element cap (4 Mi characters) the html, body, link and pre
// elements are left out unread; a 50 MB page takes the same path (measured by
// hand: Chromium needs most of the time limit just to parse it).
TEST_F(WebDocumentTest, AnElementAboveTheCapIsLeftOutAndTheRestIsRead) {
  QByteArray page = "<html><body><a href=\"/huge\"><pre>";
  const QByteArray filler = QByteArray(1000, 'x') + " http://filler.example/\n";
  while (page.size() < 6 * 1000 * 1000) page += filler;
  page += "</pre></a><div><a href=\"mms://end.example/tv.wmv\">end</a></div></body></html>";
  browser->setElementFilter({"http://", "mms://"});
  const Document& doc = read("/huge.html", page);
  ASSERT_EQ(texts(doc.links),
            QStringList({" -> " + server->url("/huge"), "end -> mms://end.example/tv.wmv"}))
      << "a text too long to read is empty; the link keeps its place and target";
  EXPECT_EQ(doc.elements, QStringList({"<a href=\"mms://end.example/tv.wmv\">end</a>"}));
}

// The parser stops nesting at 512 levels: every one of those ancestors holds
// most of the page, so their texts hit the total cap. (With 100,000 levels
// Chromium's parser needs minutes: the load ends at the time limit.)
TEST_F(WebDocumentTest, DeeplyNestedElementsAreReadWithinTheTotalCap) {
  const QString longTarget = "http://long.example/" + QString(100 * 1000, 'p');
  QByteArray page = "<html><body>";
  for (int i = 0; i < 10000; ++i) page += "<div>";
  page += "<a href='mms://deep.example/x.wmv'>deep</a><a href='" + longTarget.toLatin1() +
          "'>long</a></body></html>";
  browser->setElementFilter({"http://", "mms://"});
  const Document& doc = read("/nested.html", page);
  ASSERT_EQ(doc.links.size(), 2);
  EXPECT_EQ(doc.links[0].href, "mms://deep.example/x.wmv");
  EXPECT_TRUE(doc.links[1].href == longTarget) << "a 100 KB target is read whole";
  EXPECT_LE(totalLength(doc.elements), 32 << 20);
  EXPECT_GE(totalLength(doc.elements), 30 << 20);
}

TEST_F(WebDocumentTest, AHungOrCrashedRendererIsAnErrorAndTheNextPageOfTheSiteLoads) {
  // The script never ends: the renderer is ended after the time limit.
  server->addFile("/busy.html", "<html><body><script>while (true) {}</script></body></html>",
                  "text/html");
  // Chromium's renderer dies on a DOM thousands of levels deep.
  server->addFile("/deep.html",
                  "<html><body><script>var cur = document.body;"
                  "for (var i = 0; i < 100000; i++) {"
                  "  var d = document.createElement('div'); cur.appendChild(d); cur = d; }"
                  "</script></body></html>",
                  "text/html");
  for (const QString path : {"/busy.html", "/deep.html"}) {
    browser->setLoadTimeLimit(1000);
    browser->Navigate(server->url(path));
    ASSERT_TRUE(events.waitForEnd(10000));
    EXPECT_EQ(events.take(), QStringList({"NavigateError " + server->url(path)}));
    // A new renderer may take a while to start.
    browser->setLoadTimeLimit(WebEngineBrowser::kDefaultLoadTimeLimitMs);
    EXPECT_EQ(read("/after.html", "<html><body><a href='/next'>next</a></body></html>")
                  .links.size(),
              1);
  }
}

}  // namespace
