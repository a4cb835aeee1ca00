// The scan of a loaded page: links, then elements, then the crawl timer.
#include "search/home_page.h"
#include "search_fixture.h"

namespace {

class DocumentScanTest : public SearchTest {
 protected:
  DocumentScanTest() { f.SearchState = kSearchRunning; }
};

TEST_F(DocumentScanTest, LinksBecomeStationsAndQueuedPagesAndTheCrawlGoesOn) {
  web.complete("http://site.cn/", page({link("mms://tv.cn/cctv1", "<font color=red>CCTV1</font>"),
                                        link("http://site.cn/news.html", "新闻"),
                                        link("http://tv.cn/5.asx", "5"),
                                        link("mms://tv.cn/live?ch=2", "动态")}));
  // Each find carries the page it was found on as its Referer.
  EXPECT_EQ(stations(), QStringList({"CCTV1|mms://tv.cn/cctv1|Referer=http://site.cn/",
                                     "tvm1|http://tv.cn/5.asx|Referer=http://site.cn/"}));
  EXPECT_EQ(f.tvmx.items(), QStringList({"http://site.cn/news.html"}));
  EXPECT_EQ(f.List3.items(), QStringList({"新闻"}));
  EXPECT_EQ(f.List2.items(), QStringList({"mms://tv.cn/live?ch=2"}))
      << "the first link of the page is passed over, nested repeats are dropped";
  EXPECT_EQ(readLines("tv_lib_ss_www.txt"),
            QStringList({"CCTV1,mms://tv.cn/cctv1|Referer=http://site.cn/,",
                         "tvm1,http://tv.cn/5.asx|Referer=http://site.cn/,"}));
  EXPECT_EQ(f.form1.width(), kWideWidth);
  EXPECT_TRUE(f.Timer9.enabled());
  EXPECT_EQ(web.filter, QStringList({"http://", "mms://", "rtsp://", "url=", "value="}));
}

TEST_F(DocumentScanTest, HomePageAndBlankPagesAreNotScanned) {
  const Document d = page({link("mms://tv.cn/a", "甲")});
  web.complete(search::kSearchHomePage.toUpper(), d);
  EXPECT_TRUE(f.WebBrowser1.visible());
  for (const QString blank : {"", "http:///"}) {
    web.complete(blank, d);
    EXPECT_FALSE(f.WebBrowser1.visible());
  }
  EXPECT_EQ(f.tvm.count(), 0);
  EXPECT_FALSE(f.Timer9.enabled());
}

TEST_F(DocumentScanTest, StopTakesEffectAtTheNextItem) {
  f.crawl.yieldSliceMs = 0;
  // The user clicks "停止" as soon as the first station shows.
  QObject::connect(
      &f.dz1, &ListControl::itemInserted, &f.dz1, [this] { host.post([this] { f.Command9.click(); }); },
      Qt::SingleShotConnection);
  Document d = page({link("mms://tv.cn/a", "甲"), link("mms://tv.cn/b", "乙")});
  d.elements << "<embed src=\"mms://tv.cn/only-in-an-element\">";
  web.complete("http://site.cn/", d);
  EXPECT_EQ(foundAddresses(), QStringList({"mms://tv.cn/a"}));
  EXPECT_EQ(f.SearchState, kSearchHalted);
  EXPECT_FALSE(f.Timer9.enabled());
  EXPECT_EQ(readLines("tv_lib_ss_www.txt"),
            QStringList({"甲,mms://tv.cn/a|Referer=http://site.cn/,"}));
}

TEST_F(DocumentScanTest, EmptyMarkerListIsReportedOncePerPage) {
  f.Text5.setText(QString());
  const Document d = page({link("mms://tv.cn/a", "甲"), link("mms://tv.cn/b", "乙")});
  web.complete("http://site.cn/1", d);
  ASSERT_EQ(host.messages.size(), 1);
  EXPECT_EQ(host.messages[0].text, "关键字不能为空！！！");
  web.complete("http://site.cn/2", d);
  EXPECT_EQ(host.messages.size(), 2);
  EXPECT_EQ(foundAddresses(), QStringList({"mms://tv.cn/a", "mms://tv.cn/b"}))
      << "a link's target needs no markers";
}

TEST_F(DocumentScanTest, ElementWhoseAddressRunsOverALineEndIsScannedLineByLine) {
  // The first address runs on to the next line's quote; taken whole, the
  // text would hide the second address behind it.
  web.complete("http://site.cn/", elementsOnly({"<p>mms://tv.cn/live\r\n"
                                                "<embed src=\"mms://tv.cn/b.asx\">x\r\n</p>"}));
  EXPECT_TRUE(foundAddresses().contains("mms://tv.cn/b.asx"));
}

TEST_F(DocumentScanTest, PageLoadedWhileAnotherIsScannedIsScannedAsWell) {
  f.crawl.yieldSliceMs = 0;
  Document second = page({link("mms://tv.cn/two", "二")});
  second.title = "第二页";
  host.post([&] {
    web.requests = {"http://tv.cn/two.mp3"};
    web.complete("http://site.cn/2", second);
  });
  Document first = page({link("mms://tv.cn/one", "一")});
  first.title = "第一页";
  web.requests = {"http://tv.cn/one.mp3"};
  web.complete("http://site.cn/1", first);
  // Each page's player requests go with that page's title and Referer.
  EXPECT_EQ(stations(), QStringList({"二|mms://tv.cn/two|Referer=http://site.cn/2",
                                     "第二页|http://tv.cn/two.mp3|Referer=http://site.cn/2",
                                     "一|mms://tv.cn/one|Referer=http://site.cn/1",
                                     "第一页|http://tv.cn/one.mp3|Referer=http://site.cn/1"}));
}

}  // namespace
