#include <QDir>

#include "form_fixture.h"
#include "library/station_editing.h"

namespace {

class StationEditingTest : public FormTest {
 protected:
  StationEditingTest() {
    writeLines("tv_lib_ss_jg.txt", {"Found,mms://found/1,"});
    writeLines("tv_lib_ss_www.txt", {"Web,http://web/1,"});
    writeLines("tv_lib.txt", {"CCTV-1,mms://lib/1,x,y", "Radio,mms://lib/2,"});
  }
  void loadLists(const QStringList& names) {
    for (const QString& name : names) {
      f.tvm.addItem(name);
      f.dz1.addItem("mms://" + name);
    }
  }
};

TEST_F(StationEditingTest, AddStoresTheTypedStationAndReloadsAllLists) {
  ASSERT_TRUE(QDir(f.programDir).mkdir("temp"));
  writeBytes("temp/page.htm", "<html/>");
  f.tvm.setText("New TV");
  f.dz1.setText("mms://new/tv");
  f.Command3.click();
  EXPECT_EQ(readLines("tv_lib_ss_jg.txt"), QStringList({"Found,mms://found/1,", "New TV,mms://new/tv,"}));
  EXPECT_EQ(f.tvm.items(), QStringList({"Found", "New TV", "-------------", "Web", "-------------",
                                        "CCTV-1", "Radio", "page"}));
  EXPECT_EQ(f.dz1.items(), QStringList({"mms://found/1", "mms://new/tv", "-------------",
                                        "http://web/1", "-------------", "mms://lib/1",
                                        "mms://lib/2", f.path("temp/page.htm")}));
  EXPECT_EQ(f.tvm.text(), "New TV");
  EXPECT_EQ(f.dz1.text(), "mms://new/tv");
  EXPECT_TRUE(log.isEmpty());
}

TEST_F(StationEditingTest, AddingAStoredStationOnlyReloads) {
  const QByteArray before = readBytes("tv_lib_ss_jg.txt");
  f.tvm.setText("Found");
  f.dz1.setText("mms://found/1");
  library::AddStation(f);
  EXPECT_EQ(readBytes("tv_lib_ss_jg.txt"), before);
  EXPECT_EQ(f.tvm.count(), 6);
}

TEST_F(StationEditingTest, AddRefusesFieldsTheLineFormatCannotHold) {
  const QByteArray before = readBytes("tv_lib_ss_jg.txt");
  for (const auto& [name, address] : {std::pair<QString, QString>{"", "mms://a"},
                                      {"Name", ""},
                                      {"A,B", "mms://a"},
                                      {"Name", "mms://a,b"}}) {
    f.tvm.setText(name);
    f.dz1.setText(address);
    library::AddStation(f);
  }
  EXPECT_EQ(readBytes("tv_lib_ss_jg.txt"), before);
  EXPECT_EQ(f.tvm.count(), 6);
}

TEST_F(StationEditingTest, DeleteRemovesTheFirstMatchInAnyCaseAndShowsTheNextEntry) {
  loadLists({"CCTV", "News", "cctv", "Film"});
  f.tvm.setText("Cctv");
  f.Command12.click();
  EXPECT_EQ(f.tvm.items(), QStringList({"News", "cctv", "Film"}));
  EXPECT_EQ(f.dz1.items(), QStringList({"mms://News", "mms://cctv", "mms://Film"}));
  EXPECT_EQ(f.tvm.text(), "News");
  EXPECT_EQ(f.dz1.text(), "mms://News");
  EXPECT_TRUE(f.StopFlag);
  EXPECT_TRUE(log.contains("wmp.stop"));
}

TEST_F(StationEditingTest, DeleteRemovesTheChosenEntryOfARepeatedName) {
  for (int i = 0; i < 4; ++i) {
    f.tvm.addItem(i == 1 ? "News" : "CCTV");
    f.dz1.addItem(QString("mms://host/%1").arg(i));
  }
  f.tvm.setListIndex(2);
  f.dz1.setListIndex(2);
  f.Command12.click();
  EXPECT_EQ(f.dz1.items(), QStringList({"mms://host/0", "mms://host/1", "mms://host/3"}));
  EXPECT_EQ(f.dz1.text(), "mms://host/3");
}

TEST_F(StationEditingTest, DeletingTheLastEntryEmptiesBothTexts) {
  loadLists({"A", "B"});
  f.tvm.setText("B");
  library::DeleteStation(f);
  EXPECT_EQ(f.tvm.items(), QStringList{"A"});
  EXPECT_EQ(f.tvm.text(), "");
  EXPECT_EQ(f.dz1.text(), "");
}

TEST_F(StationEditingTest, DeleteCanRemoveTheSeparator) {
  f.tvm.setText("x");
  f.dz1.setText("x");
  library::AddStation(f);
  f.tvm.setText("-------------");
  library::DeleteStation(f);
  EXPECT_EQ(f.tvm.items().count("-------------"), 1);
  EXPECT_EQ(f.tvm.item(2), "Web");
  EXPECT_EQ(f.dz1.item(2), "http://web/1");
}

TEST_F(StationEditingTest, DeleteWithoutAMatchLeavesPlaybackAndFilesAlone) {
  const QByteArray before = readBytes("tv_lib_ss_jg.txt");
  library::DeleteStation(f);
  loadLists({"A"});
  f.tvm.setText("nothing");
  library::DeleteStation(f);
  f.tvm.setText("");
  library::DeleteStation(f);
  EXPECT_TRUE(log.isEmpty());
  EXPECT_EQ(f.tvm.count(), 1);
  EXPECT_EQ(readBytes("tv_lib_ss_jg.txt"), before);
}

TEST_F(StationEditingTest, Text2StoresEachNewLineOnce) {
  f.Text2.setText("Live,mms://live/1,");
  f.Text2.setText("");
  f.Text2.setText("Live,mms://live/1,");
  EXPECT_EQ(readLines("tv_lib_ss_jg.txt"), QStringList({"Found,mms://found/1,", "Live,mms://live/1,"}));
}

TEST_F(StationEditingTest, Check3ClickKeepsEveryFoundStation) {
  f.Text2.setText("Live,mms://live/1,");
  writeLines("tv_lib_ss_jg.txt", {"Found,mms://found/1,", "Other,mms://other/1,"});
  f.Check3.userClick();
  EXPECT_TRUE(f.Check3.checked());
  EXPECT_EQ(readLines("tv_lib_ss_jg.txt"),
            QStringList({"Found,mms://found/1,", "Other,mms://other/1,", "Live,mms://live/1,"}));
}

}  // namespace
