// Finding addresses in texts with the marker lists, and naming them.
#include "search/text_scan.h"

#include "search_fixture.h"

using namespace search;

namespace {

const QString kStarts = QStringLiteral("http://;mms://;rtsp://;url=;value=");

class TextScanTest : public SearchTest {};

TEST_F(TextScanTest, StartMarkerIsTheFirstListItemFoundFromTheSecondCharacter) {
  // Items are taken in list order: "http://" wins although "mms://" comes first.
  EXPECT_EQ(FindStartMarker(1, "xmms://a http://b", kStarts), 10);
  EXPECT_EQ(FindStartMarker(1, "http://a", kStarts), 0);
  EXPECT_EQ(FindStartMarker(1, "xHTTP://a", kStarts), 2);
  EXPECT_EQ(FindStartMarker(1, "x rtsp://a", kStarts), 3);
  EXPECT_EQ(FindStartMarker(3, "x rtsp://a", kStarts), 0);
  EXPECT_EQ(FindStartMarker(1, "xmms://a", QStringLiteral("mms://")), 0) << "no ';': no items";
  EXPECT_EQ(FindStartMarker(1, "xmms://a", QString()), 0);
  EXPECT_EQ(FindStartMarker(1, QString(), kStarts), 0);
}

TEST_F(TextScanTest, AddressEndKeepsMediaEndingsAndDropsOutsideMarkers) {
  const QString ends = f.Text5.text();
  //                    1234567890123456789
  const QString text = "x http://a.cn/b.asx\"c";
  EXPECT_EQ(FindAddressEnd(f, 3, text, ends), 20) << ".asx belongs to the address";
  EXPECT_EQ(FindAddressEnd(f, 3, "x http://a.cn/b\"c", ends), 16) << "the quote does not";
  EXPECT_EQ(FindAddressEnd(f, 3, "x http://a.cn/b", ends), 15) << "no marker: the length";
  EXPECT_EQ(FindAddressEnd(f, 3, "x http://a.cn/b", QStringLiteral(".asx")), 0);
  EXPECT_EQ(FindAddressEnd(f, 3, QString(), ends), 0);
}

TEST_F(TextScanTest, LastEndMarkerIsOnlyLookedForWhenTheOneBeforeItIsMissing) {
  const QString ends = QStringLiteral(".asx;>");
  EXPECT_EQ(FindAddressEnd(f, 3, "x http://a/b>c.asx", ends), 19);
  EXPECT_EQ(FindAddressEnd(f, 3, "x http://a/b>c.wmv", ends), 13);
}

TEST_F(TextScanTest, MediaAddressOfALinkTagIsItsQuotedTarget) {
  EXPECT_EQ(FindMediaAddress(f, "<a href=\"http://tv.example.cn/live/cctv1.asx\">CCTV1</a>"),
            "http://tv.example.cn/live/cctv1.asx");
  EXPECT_EQ(FindMediaAddress(f, "http://tv.example.cn/live/cctv1.asx"), "")
      << "an address alone is not found in itself";
  EXPECT_EQ(FindMediaAddress(f, "http://host/play?u=mms://media.example.cn/x.wmv"),
            "mms://media.example.cn/x.wmv");
  EXPECT_EQ(FindMediaAddress(f, " src=  mms://tv.cn/x \""), "mms://tv.cn/x");
  EXPECT_TRUE(host.messages.isEmpty());
}

TEST_F(TextScanTest, EmptyMarkerListIsReportedOnEveryCallOutsideAPageScan) {
  f.Text5.setText(QString());
  EXPECT_EQ(FindMediaAddress(f, "<a href=\"mms://tv.cn/a\">"), "");
  EXPECT_EQ(FindMediaAddress(f, "<a href=\"mms://tv.cn/b\">"), "");
  ASSERT_EQ(host.messages.size(), 2);
  EXPECT_EQ(host.messages[0].text, "关键字不能为空！！！");
  EXPECT_EQ(FindMediaAddress(f, QString()), "");
  EXPECT_EQ(host.messages.size(), 2) << "an empty text asks nothing";
}

TEST_F(TextScanTest, ImageLinksArePairedWithTheCaptionThatFollowsThem) {
  QString text;
  for (int i = 1; i <= 3; ++i)
    text += QStringLiteral("<a href=\"http://tv.cn/%1.asx\"><img src=\"http://img.cn/%1.jpg\">"
                           "频道%1</a>\r\n")
                .arg(i);
  f.SearchState = kSearchRunning;
  ScanTextForStations(f, text);
  ASSERT_GE(stations().size(), 2);
  EXPECT_EQ(stations()[0], "频道1|http://tv.cn/1.asx");
  EXPECT_EQ(stations()[1], "频道2|http://tv.cn/2.asx");
  EXPECT_EQ(f.tvmx.count(), 0) << "the image sources are passed over";
}

TEST_F(TextScanTest, OnlyTheFirstAddressIsTakenUnlessASearchRuns) {
  const QString text = "<a href=\"http://tv.cn/1.asx\"><img src=\"http://img.cn/1.jpg\">甲</a>"
                       "<a href=\"http://tv.cn/2.asx\"><img src=\"http://img.cn/2.jpg\">乙</a>"
                       "<a href=\"http://tv.cn/3.asx\">丙</a>..";
  f.SearchState = kSearchHalted;
  ScanTextForStations(f, text);
  EXPECT_EQ(stations(), QStringList({"甲|http://tv.cn/1.asx"}));
}

TEST_F(TextScanTest, LastAddressWithoutAFollowingStartMarkerIsStillRecorded) {
  f.SearchState = kSearchRunning;
  ScanTextForStations(f, "<embed src=\"mms://tv.cn/live\" autostart=\"1\">");
  EXPECT_EQ(stations(), QStringList({"TVName0|mms://tv.cn/live"}));
  EXPECT_EQ(readLines("tv_lib_ss_www.txt"), QStringList({"TVName0,mms://tv.cn/live,"}));
}

TEST_F(TextScanTest, LineScanSkipsAnEmptyPieceAndGoesOn) {
  f.SearchState = kSearchRunning;
  // The second carriage return directly follows the first: a piece of
  // negative length, which must not end the scan.
  ScanTextByLines(f, "head\r\r\n<embed src=\"mms://tv.cn/a.asx\">x\r\n"
                     "<embed src=\"mms://tv.cn/b.asx\">x\r\n");
  EXPECT_EQ(stations(), QStringList({"TVName0|mms://tv.cn/a.asx", "TVName1|mms://tv.cn/b.asx"}));
}

TEST_F(TextScanTest, LineScanDropsTheCharacterBeforeEachCarriageReturn) {
  f.SearchState = kSearchRunning;
  // Without its last character the first line has no ".asx" end, so the
  // address ends one character before the piece does.
  ScanTextByLines(f, "<p>mms://tv.cn/a.asx\r\nend");
  EXPECT_EQ(f.dz1.items(), QStringList({"mms://tv.cn/a.a"}));
}

}  // namespace
