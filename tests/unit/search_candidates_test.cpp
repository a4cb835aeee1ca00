// Sorting candidates into the station lists, the queues and the record.
#include <QDir>

#include "search/scanned_stations.h"
#include "search/text_scan.h"

#include "search_fixture.h"

using namespace search;

namespace {

class CandidateTest : public SearchTest {};

TEST_F(CandidateTest, NumericAndPlaceholderNamesAreReplacedByCounts) {
  f.tvm.addItem("甲");
  f.dz1.addItem("mms://tv.cn/a");
  AddCandidate(f, "12", "mms://tv.cn/12");
  AddCandidate(f, "频道=3", "mms://tv.cn/3");
  AddCandidate(f, "<OBJECT>", "mms://tv.cn/4");
  EXPECT_EQ(stations(), QStringList({"甲|mms://tv.cn/a", "tvm1|mms://tv.cn/12",
                                     "TVName2|mms://tv.cn/3", "TVName3|mms://tv.cn/4"}));
  EXPECT_EQ(readLines("tv_lib_ss_www.txt"),
            QStringList({"tvm1,mms://tv.cn/12,", "TVName2,mms://tv.cn/3,", "TVName3,mms://tv.cn/4,"}));
  EXPECT_EQ(f.tvm.text(), "TVName3");
}

TEST_F(CandidateTest, KnownAddressInAnyCaseIsShownNotAddedAndWrittenOnce) {
  AddCandidate(f, "甲", "mms://TV.cn/a.ASX");
  AddCandidate(f, "乙", "MMS://tv.cn/A.asx");
  EXPECT_EQ(stations(), QStringList({"甲|mms://TV.cn/a.ASX"}));
  EXPECT_EQ(f.dz1.text(), "MMS://tv.cn/A.asx");
  // Found again in a later search, after the lists were cleared.
  f.tvm.clear();
  f.dz1.clear();
  AddCandidate(f, "甲", "mms://TV.cn/a.ASX");
  EXPECT_EQ(readLines("tv_lib_ss_www.txt"), QStringList({"甲,mms://TV.cn/a.ASX,"}));
}

TEST_F(CandidateTest, DeletedStationIsAddedAgainWhenFoundAgain) {
  AddCandidate(f, "甲", "mms://tv.cn/a");
  AddCandidate(f, "乙", "mms://tv.cn/b");
  f.tvm.removeItem(0);
  f.dz1.removeItem(0);
  AddCandidate(f, "甲", "MMS://tv.cn/A");
  AddCandidate(f, "乙", "MMS://tv.cn/B");
  EXPECT_EQ(stations(), QStringList({"乙|mms://tv.cn/b", "甲|MMS://tv.cn/A"}));
}

TEST_F(CandidateTest, DynamicMediaAddressWaitsInList2Only) {
  AddCandidate(f, "动态", "http://tv.cn/play?id=7.asx");
  EXPECT_EQ(f.List2.items(), QStringList({"http://tv.cn/play?id=7.asx"}));
  EXPECT_EQ(f.tvm.count(), 0);
  EXPECT_FALSE(exists("tv_lib_ss_www.txt"));
}

TEST_F(CandidateTest, EmptyNameOrAddressIsDropped) {
  AddCandidate(f, "", "mms://tv.cn/a");
  AddCandidate(f, "甲", "");
  EXPECT_EQ(f.tvm.count() + f.tvmx.count() + f.List2.count(), 0);
}

TEST_F(CandidateTest, WebPagesAreQueuedAndRecordedOnce) {
  AddCandidate(f, "新闻", "http://news.cn/index.html");
  AddCandidate(f, "体育", "https://sports.cn/");
  EXPECT_EQ(f.tvmx.items(), QStringList({"http://news.cn/index.html", "https://sports.cn/"}));
  EXPECT_EQ(f.List3.items(), QStringList({"新闻", "体育"}));
  EXPECT_EQ(f.Text1.text(), "http://news.cn/index.html\r\nhttps://sports.cn/\r\n");
  EXPECT_EQ(f.Label1.caption(), "已搜索：0     还剩：1     list2：0");
  EXPECT_EQ(f.Label3.caption(), "体育");
  // Visited and found again, in another letter case: not queued again.
  f.tvmx.removeItem(0);
  f.List3.removeItem(0);
  AddCandidate(f, "新闻", "HTTP://NEWS.CN/index.html");
  EXPECT_EQ(f.tvmx.items(), QStringList({"https://sports.cn/"}));
}

TEST_F(CandidateTest, LinksThatAreNoWebPagesGoToList1Unvisited) {
  AddCandidate(f, "邮件", "mailto:tv@example.cn");
  AddCandidate(f, "脚本", "javascript:void(0)");
  AddCandidate(f, "文件", "file:///etc/passwd");
  EXPECT_EQ(f.tvmx.count(), 0);
  EXPECT_EQ(f.List1.items(),
            QStringList({"mailto:tv@example.cn", "javascript:void(0)", "file:///etc/passwd"}));
}

TEST_F(CandidateTest, PlayedAddressIsSkippedWhilePagesAreQueued) {
  AddCandidate(f, "新闻", "http://news.cn/");
  // The player handling puts a played address in front of the record.
  f.Text1.setText("mms://tv.cn/played\r" + f.Text1.text());
  AddCandidate(f, "已播", "MMS://tv.cn/PLAYED");
  EXPECT_EQ(f.tvm.count(), 0);
  f.tvmx.clear();
  AddCandidate(f, "已播", "MMS://tv.cn/PLAYED");
  EXPECT_EQ(stations(), QStringList({"已播|MMS://tv.cn/PLAYED"}));
}

TEST_F(CandidateTest, WhileAWrapperPageShowsTheFindIsShownInsteadOfListed) {
  f.BrowserPlay = kBrowserShowsPage;
  f.tvm.setText("本地页");
  AddCandidate(f, "甲", "mms://tv.cn/w");
  EXPECT_EQ(f.tvm.count(), 0);
  EXPECT_EQ(f.tvm.text(), "本地页");
  EXPECT_EQ(f.dz1.text(), "mms://tv.cn/w");
  EXPECT_EQ(readLines("tv_lib_ss_www.txt"), QStringList({"本地页,mms://tv.cn/w,"}));
}

TEST_F(CandidateTest, AddressHiddenInAnotherIsTakenOut) {
  AddCandidate(f, "甲", "http://jump.cn/go?to=mms://tv.cn/inner.wmv");
  EXPECT_EQ(stations(), QStringList({"甲|mms://tv.cn/inner.wmv"}));
}

TEST_F(CandidateTest, ScannedStationFileKeepsAHandEditedLastLineWhole) {
  writeBytes("tv_lib_ss_www.txt", "旧台,mms://old");
  RecordScannedStation(f, "新台,mms://new,");
  RecordScannedStation(f, "新台,mms://new,");
  EXPECT_EQ(readLines("tv_lib_ss_www.txt"), QStringList({"旧台,mms://old", "新台,mms://new,"}));
}

TEST_F(CandidateTest, BatchTheFileCouldNotTakeGoesWithTheNextBatch) {
  const QString file = f.path("tv_lib_ss_www.txt");
  ASSERT_TRUE(QDir().mkdir(file));
  ScannedStationBatch batch(f);
  batch.add("甲", "mms://a");
  batch.write();
  ASSERT_TRUE(QDir().rmdir(file));
  batch.add("乙", "mms://b");
  batch.write();
  EXPECT_EQ(readLines("tv_lib_ss_www.txt"), QStringList({"甲,mms://a,", "乙,mms://b,"}));
  EXPECT_EQ(host.messages.size(), 1);
}

}  // namespace
