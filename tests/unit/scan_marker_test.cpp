#include "form_fixture.h"
#include "library/scan_marker_text.h"
#include "monitor/scan_marker.h"

using monitor::AdvanceScanMarker;

namespace {

class ScanMarkerTest : public FormTest {
 protected:
  void addEntries(int count) {
    for (int i = 0; i < count; ++i) {
      f.tvm.addItem(QString("Station %1").arg(i));
      f.dz1.addItem(QString("mms://host/%1").arg(i));
    }
  }
};

TEST_F(ScanMarkerTest, FiveAdvancesOverFiveEntriesVisitOneToFourThenEndTheScan) {
  writeLines("tv_lib_ss_jg.txt", {"Found A,mms://found/a,", "Found B,mms://found/b,"});
  addEntries(5);
  QString marker = library::kScanStartMarker;
  QStringList results;
  for (int i = 0; i < 5; ++i) {
    results << AdvanceScanMarker(f, marker);
    if (i < 4) {
      EXPECT_EQ(f.tvm.text(), QString("Station %1").arg(i + 1));
    }
    marker = f.dz1.text();
  }
  EXPECT_EQ(results, QStringList({"mms://host/1", "mms://host/2", "mms://host/3",
                                  "mms://host/4", ""}));
  EXPECT_EQ(f.List3.items(), QStringList({"list#0000001#", "list#0000002#", "list#0000003#",
                                          "list#0000004#", "list#0000005#"}));
  // The found stations are the new list; the final marker stays in dz1.
  EXPECT_EQ(f.tvm.items(), QStringList({"Found A", "Found B"}));
  EXPECT_EQ(f.tvm.text(), "Found A");
  EXPECT_EQ(f.dz1.text(), "list#0000005#");
  EXPECT_TRUE(f.StopFlag);
  ASSERT_EQ(host.messages.size(), 1);
  EXPECT_EQ(host.messages[0].text, "搜索完毕！");
  EXPECT_EQ(host.messages[0].title, "搜索");
  EXPECT_EQ(host.messages[0].icon, MessageIcon::Stop);
  EXPECT_EQ(f.form1.width(), kWideWidth);
}

TEST_F(ScanMarkerTest, EndOfScanAddsTheTempFolderWrappers) {
  writeLines("tv_lib_ss_jg.txt", {"Found A,mms://found/a,"});
  ASSERT_TRUE(QDir(f.programDir).mkdir("temp"));
  writeBytes("temp/clip.asx", "<asx/>");
  addEntries(1);
  EXPECT_EQ(AdvanceScanMarker(f, "list#0000000#"), "");
  EXPECT_EQ(f.tvm.items(), QStringList({"Found A", "clip"}));
  EXPECT_EQ(f.dz1.item(1), f.path("temp/clip.asx"));
}

TEST_F(ScanMarkerTest, PrefixInCapitalsAdvancesLikeLowerCase) {
  addEntries(12);
  EXPECT_EQ(AdvanceScanMarker(f, "LIST#0000009#"), "mms://host/10");
  EXPECT_EQ(f.dz1.text(), "LIST#0000010#");
  EXPECT_EQ(f.tvm.text(), "Station 10");
}

TEST_F(ScanMarkerTest, FieldThatIsNoNumberChangesNothing) {
  addEntries(3);
  f.dz1.setText("mms://host/0");
  for (const QString bad : {"list#abc#", "list##", "list#1x#"}) {
    EXPECT_EQ(AdvanceScanMarker(f, bad), bad);
  }
  EXPECT_EQ(f.dz1.text(), "mms://host/0");
  EXPECT_TRUE(f.List3.items().isEmpty());
  EXPECT_TRUE(host.messages.isEmpty());
}

TEST_F(ScanMarkerTest, CounterOutgrowingItsFieldKeepsTheFieldWidth) {
  addEntries(2);
  EXPECT_EQ(AdvanceScanMarker(f, "list#9999999#"), "");
  EXPECT_EQ(f.List3.items().last(), "list#1000000#");
  EXPECT_EQ(f.dz1.text(), "list#1000000#");
}

TEST_F(ScanMarkerTest, OrdinaryAddressComesBackAndIsLogged) {
  addEntries(2);
  const QString address = "mms://live.example/tv";
  EXPECT_EQ(AdvanceScanMarker(f, address), address);
  EXPECT_EQ(AdvanceScanMarker(f, "a#b"), "a#b");
  EXPECT_EQ(f.List3.items(), QStringList({address, "a#b"}));
  EXPECT_EQ(f.dz1.text(), "a#b");
  EXPECT_EQ(f.form1.width(), kWideWidth);
  EXPECT_EQ(f.tvm.count(), 2);
}

TEST_F(ScanMarkerTest, MarkerWithoutListPrefixReturnsItsWorkingCopy) {
  addEntries(2);
  EXPECT_EQ(AdvanceScanMarker(f, "ab#07#cd"), "ab08cd");
  EXPECT_EQ(f.dz1.text(), "ab#08#cd");
  EXPECT_TRUE(host.messages.isEmpty());
}

TEST(ScanMarkerText, RecognisesRunningScansAndReadsTheCounter) {
  EXPECT_TRUE(library::isScanMarker("list#0000003#"));
  EXPECT_TRUE(library::isScanMarker("x#y#"));
  EXPECT_FALSE(library::isScanMarker("http://a/#top"));
  EXPECT_TRUE(library::hasNoHash("mms://a"));
  EXPECT_FALSE(library::hasNoHash("http://a/#top"));
  EXPECT_EQ(library::scanCounter("list#0000003#"), 3);
  EXPECT_EQ(library::scanCounter("LIST#0001234#"), 1234);
  EXPECT_FALSE(library::scanCounter("mms://a/b"));
  EXPECT_FALSE(library::scanCounter("list#abc#"));
}

}  // namespace
