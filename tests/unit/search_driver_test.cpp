// Starting, pacing and stopping the crawl; the station test; browser events.
#include <QHash>

#include "playlists/station_files.h"
#include "search/home_page.h"
#include "search_fixture.h"

namespace {

const QString kHome = search::kSearchHomePage;

class DriverTest : public SearchTest {
 protected:
  QStringList navigations() {
    QStringList urls;
    for (const QString& entry : takeLog())
      if (entry.startsWith("web.Navigate(")) urls << entry.mid(13).chopped(1);
    return urls;
  }
  // A search under way whose browser shows a page.
  void crawling(const QStringList& pages) {
    f.Command17.setCaption("网上");
    f.SearchState = kSearchRunning;
    web.location = "http://site.cn/";
    for (const QString& p : pages) {
      f.tvmx.addItem(p);
      f.List3.addItem("名" + p.right(1));
    }
    takeLog();
  }
  void tick() {
    f.Timer9.setEnabled(true);
    host.advance(100);
  }
};

TEST_F(DriverTest, KnownStationNameStartsAnAutomaticSearchAtTheHomePage) {
  f.tvm.addItem("甲");
  f.dz1.addItem("mms://tv.cn/a");
  f.tvm.setText("甲");
  f.Check2.setChecked(true);
  f.List1.addItem("old");
  f.tvmx.addItem("http://old.cn/");
  f.Command17.click();
  EXPECT_FALSE(f.Check2.checked());
  EXPECT_EQ(navigations(), QStringList({kHome}));
  EXPECT_EQ(f.tvm.count() + f.dz1.count() + f.List1.count() + f.tvmx.count(), 0);
  EXPECT_EQ(f.Command17.caption(), "网上");
  EXPECT_EQ(f.Label1.caption(), "正在搜索，请稍后。。。。");
  EXPECT_EQ(f.SearchState, kSearchRunning);
  EXPECT_TRUE(f.WebBrowser1.visible());
  EXPECT_FALSE(f.WindowsMediaPlayer1.visible());
  EXPECT_EQ(f.WebBrowser1.height(), 5000);
  EXPECT_FALSE(f.StopFlag);
  EXPECT_FALSE(f.Command14.enabled());
  EXPECT_EQ(web.filter, QStringList({"http://", "mms://", "rtsp://", "url=", "value="}));
}

TEST_F(DriverTest, OtherTextStartsAManualSearchAtThatAddress) {
  f.tvm.addItem("甲");
  f.tvm.setText("http://127.0.0.1:8080/tv.html");
  f.Command17.click();
  EXPECT_TRUE(f.Check2.checked());
  EXPECT_EQ(navigations(), QStringList({"http://127.0.0.1:8080/tv.html"}));
}

TEST_F(DriverTest, TickLoadsDynamicAddressesBeforePagesAndMovesThemToList1) {
  crawling({"http://site.cn/1", "http://site.cn/2"});
  f.List2.addItem("http://tv.cn/x.asx?id=1");
  tick();
  EXPECT_EQ(takeLog(), QStringList({"web.Stop", "web.Navigate(http://tv.cn/x.asx?id=1)"}));
  EXPECT_EQ(f.Label4.caption(), "http://tv.cn/x.asx?id=1");
  EXPECT_EQ(f.Command10.caption(), "1");
  tick();
  EXPECT_EQ(navigations(), QStringList({"http://site.cn/1"}));
  EXPECT_EQ(f.List1.items(), QStringList({"http://tv.cn/x.asx?id=1", "http://site.cn/1"}));
  EXPECT_EQ(f.tvmx.items(), QStringList({"http://site.cn/2"}));
  EXPECT_EQ(f.List3.items(), QStringList({"名2"}));
  EXPECT_EQ(f.form1.width(), kWideWidth);
}

TEST_F(DriverTest, CrawlStepTrimsTheRecordByTheHeadLengthLessOne) {
  crawling({"http://a/"});
  f.Text1.setText("0123456789");
  tick();
  EXPECT_EQ(f.Text1.text(), "89");
}

TEST_F(DriverTest, NoPageIsLoadedInManualModeOrWithoutPagesOrBeforeAnyPage) {
  crawling({"http://site.cn/1", "http://site.cn/2"});
  f.Check2.setChecked(true);
  tick();
  EXPECT_EQ(f.List1.items(), QStringList({"http://site.cn/1"})) << "the head still moves on";
  f.Check2.setChecked(false);
  web.location.clear();
  tick();
  f.tvmx.clear();
  f.List2.addItem("http://tv.cn/x.asx?id=1");
  web.location = "http://site.cn/";
  tick();
  EXPECT_EQ(navigations(), QStringList());
  EXPECT_EQ(f.List2.count(), 1);
}

TEST_F(DriverTest, MailHomeEmptyAndNonWebHeadsAreNeverLoaded) {
  crawling({"http://user@site.cn/", kHome, "", "http://site.cn/ok"});
  f.List2.addItem("javascript:play('x.asx?1')");
  tick();
  tick();
  EXPECT_EQ(navigations(), QStringList({"http://site.cn/ok"}));
  EXPECT_EQ(f.List1.items(), QStringList({"javascript:play('x.asx?1')", "http://user@site.cn/",
                                          kHome, "", "http://site.cn/ok"}));
  // A queue of nothing but such heads stops everything.
  f.tvmx.addItem("mailto:tv@site.cn");
  f.StopFlag = false;
  tick();
  EXPECT_TRUE(f.StopFlag);
  EXPECT_EQ(navigations(), QStringList());
}

TEST_F(DriverTest, OpenNameSuppressesTheCrawl) {
  crawling({"http://site.cn/1"});
  f.tvm.setText("Open-电视");
  tick();
  EXPECT_EQ(f.form1.width(), kCompactWidth);
  EXPECT_EQ(f.tvmx.count(), 1);
  EXPECT_EQ(navigations(), QStringList());
}

TEST_F(DriverTest, QueueClicksLoadTheEntryInManualModeAndStepOtherwise) {
  crawling({"http://site.cn/1", "http://site.cn/2"});
  f.Check2.setChecked(true);
  f.tvmx.setListIndex(1);
  f.tvmx.click();
  f.List2.addItem("file:///etc/passwd?x.asx");
  f.List2.setListIndex(0);
  f.List2.click();
  EXPECT_EQ(navigations(), QStringList({"http://site.cn/2"}));
  EXPECT_EQ(f.tvmx.count(), 2);
  f.Check2.setChecked(false);
  f.List2.clear();
  f.tvmx.click();
  EXPECT_EQ(navigations(), QStringList({"http://site.cn/1"}));
  f.tvmx.clear();
  f.tvmx.click();
  EXPECT_EQ(f.Command10.caption(), "搜台");
  EXPECT_EQ(f.form1.width(), 8430);
}

TEST_F(DriverTest, List3ClickGoesOnFromTheEntryAboveTheClickedOne) {
  crawling({"http://site.cn/0", "http://site.cn/1", "http://site.cn/2", "http://site.cn/3"});
  f.Check2.setChecked(true);
  f.SearchState = kSearchHalted;
  f.List3.setListIndex(3);
  f.List3.click();
  EXPECT_EQ(navigations(), QStringList({"http://site.cn/2"}));
  EXPECT_EQ(f.tvmx.items(), QStringList({"http://site.cn/3"}));
  EXPECT_EQ(f.List3.items(), QStringList({"名3"}));
  EXPECT_FALSE(f.Check2.checked());
  EXPECT_EQ(f.SearchState, kSearchRunning);
}

TEST_F(DriverTest, StopDuringAWebSearchLeavesTheWindowIdleOnTheStationFiles) {
  writeLines(library::kFoundFile, {"甲,mms://tv.cn/a,"});
  writeLines(library::kScannedFile, {"乙,mms://tv.cn/b|Referer=http://site.cn/,"});
  writeLines(library::kLibraryFile, {"丙,mms://tv.cn/c,"});
  f.Command17.click();
  web.complete("http://site.cn/", page({link("mms://tv.cn/new", "新台")}));
  crawling({"http://site.cn/1"});
  f.Command10.setCaption("1");
  f.PlayerKind = "win";
  f.Command9.click();
  EXPECT_EQ(f.SearchState, kSearchHalted);
  EXPECT_EQ(f.Command10.caption(), "搜台");
  EXPECT_EQ(f.Command17.caption(), "网上搜索");
  EXPECT_EQ(f.Label1.caption(), "");
  EXPECT_EQ(f.form1.width(), 8430);
  EXPECT_FALSE(f.Timer9.enabled());
  EXPECT_TRUE(exists("bfwz.dat"));
  // As at start-up: the three files, the search's find among them.
  EXPECT_EQ(stations(),
            QStringList({"甲|mms://tv.cn/a", "-------------|-------------",
                         "乙|mms://tv.cn/b|Referer=http://site.cn/",
                         "新台|mms://tv.cn/new|Referer=http://site.cn/",
                         "-------------|-------------", "丙|mms://tv.cn/c"}));
  EXPECT_EQ(f.tvm.text(), "甲");
  // The station test then tries the earlier finds.
  f.Command10.click();
  EXPECT_EQ(f.dz1.item(0), "mms://tv.cn/b|Referer=http://site.cn/");
}

TEST_F(DriverTest, StopDuringAStationTestReloadsTheVerifiedResults) {
  writeLines(library::kFoundFile, {"甲,mms://tv.cn/a,", "乙,mms://tv.cn/b,"});
  f.RunMode = kAutomaticRun;
  f.PlayerKind = "win";
  f.tvm.addItem("候选");
  f.dz1.addItem("mms://tv.cn/x");
  f.Command9.click();
  EXPECT_EQ(stations(), QStringList({"甲|mms://tv.cn/a", "乙|mms://tv.cn/b"}));
  EXPECT_EQ(f.tvm.text(), "甲");
  EXPECT_EQ(f.dz1.text(), "mms://tv.cn/a");
  EXPECT_EQ(f.RunMode, kNormalRun);
  EXPECT_TRUE(exists("dqwz.dat"));
}

TEST_F(DriverTest, BrowserEventsCancelWindowsAndDownloadsAndKeepTheCrawlGoing) {
  bool cancel = false;
  Q_EMIT web.NewWindow2(&cancel);
  EXPECT_TRUE(cancel);
  cancel = false;
  Q_EMIT web.FileDownload(&cancel);
  EXPECT_TRUE(cancel);
  EXPECT_TRUE(f.Timer9.enabled());
  f.Timer9.setEnabled(false);
  web.raiseNavigateError("http://site.cn/dead");
  EXPECT_TRUE(f.Timer9.enabled());
  f.WebBrowser1.setVisible(false);
  Q_EMIT web.BeforeNavigate2("http://site.cn/");
  EXPECT_TRUE(f.WebBrowser1.visible());
}

TEST_F(DriverTest, F11OnCommand10ShowsTheStatusRecordAndAddressBox) {
  for (Control* c : {static_cast<Control*>(&f.l), static_cast<Control*>(&f.Text1),
                     static_cast<Control*>(&f.dz1)})
    c->setVisible(false);
  f.Command10.keyDown(121);
  EXPECT_FALSE(f.l.visible());
  f.Command10.keyDown(122);
  EXPECT_TRUE(f.l.visible() && f.Text1.visible() && f.dz1.visible());
}

TEST_F(DriverTest, StationTestBeforeAnySearchTriesTheEarlierFinds) {
  writeLines(library::kScannedFile, {"甲,mms://tv.cn/a,", "乙,mms://tv.cn/b,"});
  writeLines(library::kExtraResultsFile, {"丙,mms://tv.cn/c,"});
  f.tvm.addItem("旧");
  f.dz1.addItem("mms://old");
  f.Check2.setChecked(true);
  f.Command10.click();
  EXPECT_EQ(f.tvm.items(), QStringList({"甲", "乙", library::kSeparator, "丙"}));
  EXPECT_EQ(f.RunMode, kAutomaticRun);
  EXPECT_FALSE(f.Check2.checked());
  EXPECT_EQ(f.dz1.text(), "list#0000000#");
  EXPECT_TRUE(log.contains("wmp.URL=mms://tv.cn/a"));
}

// A small site behind the fake browser: pages complete 50 ms after they are
// asked for, a dead page fails and a media address arrives as a download.
TEST_F(DriverTest, SiteIsCrawledToTheEndAndItsStationsAreThenTested) {
  const QHash<QString, Document> site = {
      {kHome, Document()},
      {"http://site.cn/a.html",
       page({link("http://tv.cn/2.asx", "<font color=\"red\">CCTV2</font>"),
             link("mms://tv.cn/play?ch=3", "动态"), link("http://tv.cn/9.asx", "9"),
             link("http://site.cn/a.html", "本页"), link("http://site.cn/c.html", "C")})},
      {"http://site.cn/c.html", page({link("mms://tv.cn/1", "CCTV1"),
                                      link("http://site.cn/results", "返回")})},
  };
  web.onNavigate = [&](const QString& url) {
    host.post([&, url] {
      if (site.contains(url)) {
        web.complete(url, site.value(url));
      } else if (url.contains(u'?')) {
        bool cancel = false;
        Q_EMIT web.FileDownload(&cancel);
      } else {
        web.raiseNavigateError(url);
      }
    }, 50);
  };
  f.tvm.setText("电视");
  f.Command17.click();
  host.advance(100);
  // The user searches and the result page loads.
  web.complete("http://site.cn/results",
               page({link("http://site.cn/a.html", "频道一览"), link("http://site.cn/dead.html", "坏"),
                     link("mailto:tv@site.cn", "邮件"), link("mms://tv.cn/1", "CCTV1")}));
  host.advance(5000);
  EXPECT_EQ(readLines(library::kScannedFile),
            QStringList({"CCTV1,mms://tv.cn/1|Referer=http://site.cn/results,",
                         "CCTV2,http://tv.cn/2.asx|Referer=http://site.cn/a.html,",
                         "tvm2,http://tv.cn/9.asx|Referer=http://site.cn/a.html,"}));
  EXPECT_EQ(f.tvmx.count() + f.List2.count(), 0);
  EXPECT_EQ(f.List1.items(), QStringList({"mailto:tv@site.cn", "http://site.cn/a.html",
                                          "mms://tv.cn/play?ch=3", "http://site.cn/dead.html",
                                          "http://site.cn/c.html", "http://site.cn/results"}));
  takeLog();
  f.Command10.click();
  EXPECT_EQ(f.Command17.caption(), "网上搜索");
  EXPECT_EQ(f.tvm.items(), QStringList({"CCTV1", "CCTV2", "tvm2"}));
  EXPECT_EQ(f.dz1.text(), "list#0000000#");
  EXPECT_EQ(f.RunMode, kAutomaticRun);
  EXPECT_TRUE(log.contains("wmp.URL=mms://tv.cn/1|Referer=http://site.cn/results"));
}

}  // namespace
