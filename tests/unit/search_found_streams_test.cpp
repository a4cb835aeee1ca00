// What the web search keeps of a found stream: the whole address (tokens,
// unescaped), only network addresses, the page as its Referer, and the
// streams the page's own player requested.
#include "playlists/station_files.h"
#include "search/home_page.h"
#include "search/text_scan.h"
#include "search_fixture.h"

using namespace search;

namespace {

class FoundStreamTest : public SearchTest {
 protected:
  FoundStreamTest() {
    f.SearchState = kSearchRunning;
    // Today's stream types, as the delivered marker lists hold them.
    f.Text3.setText(".mp3-.asx-.wmv-mms:-rtmp:-.m3u8-.flv-.");
    f.Text4.setText("http://;https://;mms://;rtmp://;src=");
    f.Text5.setText(".mp3;.asx;.wmv;.m3u8;.flv;\";';--;>");
  }
};

TEST_F(FoundStreamTest, ScanKeepsTokensStopsAtMarkupAndStoresOnlyNetworkAddresses) {
  const QString longPath(9000, u'a');
  struct Case {
    const char* what;
    bool scanned;  // the text is scanned, else handed to AddCandidate as an address
    QString text;
    QStringList stations;
    QStringList dynamic;
  };
  const Case cases[] = {
      {"a token goes on through its query", true,
       "<source src=\"https://cdn.cn/live/a.m3u8?token=x1&amp;t=2\">直播</source>",
       {"https://cdn.cn/live/a.m3u8?token=x1&t=2"}, {}},
      {"a query to the end of the text", true, "直播 http://cdn.cn/b.flv?k=9",
       {"http://cdn.cn/b.flv?k=9"}, {}},
      {"a query that stops at a space", true, "直播 http://cdn.cn/b.flv?k=9 其他</p>",
       {"http://cdn.cn/b.flv?k=9"}, {}},
      {"no type right before the query: a dynamic address", true,
       "<a href=\"http://cdn.cn/play.php?f=c.m3u8\">播放</a>",
       {},
       {"http://cdn.cn/play.php?f=c.m3u8"}},
      {"an address ends before markup", true, "<p>直播 mms://tv.cn/live<br>下一行</p>",
       {"mms://tv.cn/live"}, {}},
      {"escaped ampersands of a link", false, "http://tv.cn/a.asx?u=1&amp;v=2",
       {"http://tv.cn/a.asx?u=1&v=2"}, {}},
      {"rtmp is a network scheme", false, "rtmp://live.cn/app/stream",
       {"rtmp://live.cn/app/stream"}, {}},
      {"a local file", false, "file:///home/u/a.mp3", {}, {}},
      {"a bare path", false, "/home/u/a.mp3", {}, {}},
      {"a script", false, "javascript:play('a.mp3')", {}, {}},
      {"an engine protocol", false, "av://lavfi:sine.mp3", {}, {}},
      {"a relative address after src=", true, "<img src=\"/img/a.flv\">图</img>", {}, {}},
      {"over 8 KiB", false, "http://cdn.cn/" + longPath + ".mp3", {}, {}},
  };
  for (const Case& c : cases) {
    f.tvm.clear();
    f.dz1.clear();
    f.List2.clear();
    if (c.scanned)
      ScanTextForStations(f, c.text);
    else
      AddCandidate(f, QStringLiteral("台"), c.text);
    EXPECT_EQ(foundAddresses(), c.stations) << c.what;
    EXPECT_EQ(f.List2.items(), c.dynamic) << c.what;
  }
}

TEST_F(FoundStreamTest, FindsAreRecordedWithTheirPageAsRefererOnceForEachStream) {
  web.complete("http://site.cn/tv.html",
               page({link("mms://tv.cn/cctv1", "CCTV1"),
                     link("http://tv.cn/b.m3u8|User-Agent=Box", "自带头")}));
  web.complete("http://other.cn/list.html", page({link("MMS://TV.cn/cctv1", "又一个")}));
  EXPECT_EQ(stations(), QStringList({"CCTV1|mms://tv.cn/cctv1|Referer=http://site.cn/tv.html",
                                     "自带头|http://tv.cn/b.m3u8|User-Agent=Box"}));
  // A later search finds the stream on another page: the file keeps one line.
  f.tvm.clear();
  f.dz1.clear();
  web.complete("http://third.cn/", page({link("mms://tv.cn/cctv1", "CCTV1")}));
  EXPECT_EQ(readLines(library::kScannedFile),
            QStringList({"CCTV1,mms://tv.cn/cctv1|Referer=http://site.cn/tv.html,",
                         "自带头,http://tv.cn/b.m3u8|User-Agent=Box,"}));
  // A local page is nobody's Referer.
  web.complete("file:///opt/nettv/temp/a.htm", page({link("mms://tv.cn/local", "本地")}));
  EXPECT_EQ(f.dz1.items().last(), "mms://tv.cn/local");
}

TEST_F(FoundStreamTest, WhatThePagesPlayerRequestedFollowsTheScansFinds) {
  Document d = page({link("http://tv.cn/a.m3u8", "甲台")});
  d.title = "体育, 直播";
  web.requests = {"http://tv.cn/a.m3u8", "http://tv.cn/api/list.json", "https://cdn.cn/b.m3u8?tk=1",
                  "https://cdn.cn/b.m3u8?tk=1", "blob:http://tv.cn/x.m3u8", "http://tv.cn/c.FLV"};
  web.complete("http://tv.cn/play.html", d);
  const QString referer = "|Referer=http://tv.cn/play.html";
  EXPECT_EQ(stations(), QStringList({"甲台|http://tv.cn/a.m3u8" + referer,
                                     "体育， 直播|https://cdn.cn/b.m3u8?tk=1" + referer,
                                     "体育， 直播|http://tv.cn/c.FLV" + referer}));
  EXPECT_EQ(readLines(library::kScannedFile).size(), 3);
  EXPECT_TRUE(f.Timer9.enabled());
  // Without a title the name is "未知".
  d.title.clear();
  web.requests = {"http://tv.cn/d.flv"};
  web.complete("http://tv.cn/play2.html", d);
  EXPECT_EQ(f.tvm.items().last(), "未知");
}

TEST_F(FoundStreamTest, CommasOfAFindNeverSplitItsStationLine) {
  struct Case {
    const char* what;
    QString name;
    QString address;
    QString station;  // name|address as listed
  };
  const Case cases[] = {
      {"a comma in the query", "台", "http://tv.cn/a.m3u8?ch=1,2", "台|http://tv.cn/a.m3u8?ch=1%2C2"},
      {"a comma in the path", "台", "http://tv.cn/a,b.mp3", "台|http://tv.cn/a%2Cb.mp3"},
      {"a comma in the name", "体育,直播", "http://tv.cn/c.mp3", "体育，直播|http://tv.cn/c.mp3"},
      {"headers stay headers", "台", "http://tv.cn/d.m3u8?x=1,2|User-Agent=A,B",
       "台|http://tv.cn/d.m3u8?x=1%2C2|User-Agent=A%2CB"},
  };
  for (const Case& c : cases) {
    f.tvm.clear();
    f.dz1.clear();
    AddCandidate(f, c.name, c.address);
    EXPECT_EQ(stations(), QStringList{c.station}) << c.what;
  }
  for (const QString& line : readLines(library::kScannedFile))
    EXPECT_EQ(line.count(u','), 2) << line.toStdString();
  EXPECT_EQ(readLines(library::kScannedFile).size(), 4);
}

TEST_F(FoundStreamTest, TheHomePageIsKnownInAnyFormAndByWhereTheBrowserWasSent) {
  struct Case {
    QString url;
    QString sentTo;
    bool scanned;
  };
  const Case cases[] = {
      {"https://www.baidu.com/", "", false},
      {"HTTP://WWW.BAIDU.COM", "", false},
      {"https://www.baidu.com//", "", false},
      {"https://www.baidu.com/index.htm", kSearchHomePage, false},
      {"http://www.baidu.com.cn/", "", true},
      {"http://site.cn/www.baidu.com/", "", true},
  };
  for (const Case& c : cases) {
    f.tvm.clear();
    f.dz1.clear();
    f.Timer9.setEnabled(false);
    Document d = page({link("mms://tv.cn/a", "甲")});
    d.sentTo = c.sentTo;
    web.complete(c.url, d);
    EXPECT_EQ(f.tvm.count(), c.scanned ? 1 : 0) << c.url.toStdString();
    EXPECT_EQ(f.Timer9.enabled(), c.scanned) << c.url.toStdString();
  }
}

}  // namespace
