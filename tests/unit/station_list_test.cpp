#include "form_fixture.h"
#include <functional>

#include "library/found_entries.h"
#include "library/found_list.h"
#include "library/station_editing.h"
#include "playlists/station_files.h"
#include "library/station_list.h"

using library::kSeparator;

class StationListTest : public FormTest {
 protected:
  void load(const QString& name) { library::LoadStationList(f, name); }
  // Loads a file holding these lines into the empty lists.
  void loadLines(const QStringList& lines) {
    writeLines("list.txt", lines);
    load("list.txt");
  }
  QStringList names() const { return f.tvm.items(); }
  QStringList addresses() const { return f.dz1.items(); }
};

TEST_F(StationListTest, ThreeFilesLoadInTurnWithSeparators) {
  writeLines("tv_lib_ss_jg.txt", {"甲,mms://a,", "乙,mms://b,"});
  writeLines("tv_lib_ss_www.txt", {"丙,http://c/x.asx,"});
  writeLines("tv_lib.txt", {"丁,rtsp://d/y.rm,", "戊,mms://e,"});
  f.tvm.addItem("stale");
  f.dz1.addItem("stale");
  library::ReloadAllStationLists(f);
  EXPECT_EQ(names(), QStringList({"甲", "乙", kSeparator, "丙", kSeparator, "丁", "戊"}));
  EXPECT_EQ(addresses(), QStringList({"mms://a", "mms://b", kSeparator, "http://c/x.asx",
                                      kSeparator, "rtsp://d/y.rm", "mms://e"}));
}

TEST_F(StationListTest, MissingMiddleFileStillAddsItsSeparator) {
  writeLines("tv_lib_ss_jg.txt", {"甲,mms://a,"});
  writeLines("tv_lib.txt", {"丁,mms://d,"});
  library::ReloadAllStationLists(f);
  EXPECT_EQ(names(), QStringList({"甲", kSeparator, kSeparator, "丁"}));
  EXPECT_EQ(f.dz1.count(), f.tvm.count());
}

TEST_F(StationListTest, EmptyListsGetNoLeadingSeparator) {
  writeLines("tv_lib.txt", {"丁,mms://d,"});
  library::ReloadAllStationLists(f);
  EXPECT_EQ(names(), QStringList({"丁"}));
}

TEST_F(StationListTest, NamesAndAddressesAreTrimmedAndLaterFieldsIgnored) {
  loadLines({"台,mms://a,", "  台  ,  mms://a  ,extra,more", "\t台\t,\tmms://a\t,"});
  EXPECT_EQ(names(), QStringList({"台", "台", "台"}));
  EXPECT_EQ(addresses(), QStringList({"mms://a", "mms://a", "mms://a"}));
}

TEST_F(StationListTest, TabInsideAFieldBecomesASpace) {
  loadLines({"中央\t一台,mms://a\tb,"});
  EXPECT_EQ(names(), QStringList({"中央 一台"}));
  EXPECT_EQ(addresses(), QStringList({"mms://a b"}));
}

TEST_F(StationListTest, EndLineStopsInAnyCase) {
  loadLines({"甲,mms://a,", "End", "乙,mms://b,"});
  EXPECT_EQ(names(), QStringList({"甲"}));
  f.tvm.clear();
  f.dz1.clear();
  loadLines({"END", "乙,mms://b,"});
  EXPECT_TRUE(names().isEmpty());
}

TEST_F(StationListTest, EndWithAnythingElseOnTheLineDoesNotStop) {
  loadLines({"end ", "\tend", "end,", "甲,mms://a,"});
  EXPECT_EQ(names(), QStringList({"甲"}));
}

TEST_F(StationListTest, EmptyLineEndsTheList) {
  loadLines({"甲,mms://a,", "", "乙,mms://b,"});
  EXPECT_EQ(names(), QStringList({"甲"}));
}

TEST_F(StationListTest, EmptyFirstLineIsSkipped) {
  loadLines({"", "甲,mms://a,", "乙,mms://b,"});
  EXPECT_EQ(names(), QStringList({"甲", "乙"}));
}

TEST_F(StationListTest, TwoEmptyFirstLinesEndTheList) {
  loadLines({"", "", "甲,mms://a,"});
  EXPECT_TRUE(names().isEmpty());
}

TEST_F(StationListTest, LineOfSpacesIsNotEmptyAndDoesNotStop) {
  loadLines({"甲,mms://a,", "   ", "乙,mms://b,"});
  EXPECT_EQ(names(), QStringList({"甲", "乙"}));
}

TEST_F(StationListTest, TempFolderWrapperAddressesAreSkipped) {
  loadLines({"甲,C:\\nettv\\play\\temp\\a.asx,", "乙,/opt/PLAY/TEMP/b.htm,",
             "play\\temp,mms://kept,", "丙,C:\\Play\\Temp\\c.HTM,", "丁,mms://d,",
             "戊,http://host/play/temp/e.asx,"});
  EXPECT_EQ(names(), QStringList({"play\\temp", "丁", "戊"}));
}

TEST_F(StationListTest, LinesWithoutTwoCommasAreSkipped) {
  loadLines({"only a name", "甲,mms://a", "乙,mms://b,", "丙"});
  EXPECT_EQ(names(), QStringList({"乙"}));
  EXPECT_EQ(addresses(), QStringList({"mms://b"}));
}

TEST_F(StationListTest, EmptyTestsLookAtTheUntrimmedFields) {
  loadLines({",mms://a,", "甲,,", " ,mms://b,", "乙, ,"});
  EXPECT_EQ(names(), QStringList({"", "乙"}));
  EXPECT_EQ(addresses(), QStringList({"mms://b", ""}));
}

TEST_F(StationListTest, LoadingAppendsAfterTheEntriesAlreadyThere) {
  writeLines("one.txt", {"甲,mms://a,"});
  writeLines("two.txt", {"乙,mms://b,", "丙,mms://c,"});
  load("one.txt");
  f.tvm.setText("甲");
  load("two.txt");
  EXPECT_EQ(names(), QStringList({"甲", kSeparator, "乙", "丙"}));
  EXPECT_EQ(f.tvm.listIndex(), 0);
}

TEST_F(StationListTest, ScratchFileListsTheLoadedEntriesWithTheirIndex) {
  writeLines("one.txt", {"甲,mms://a,"});
  writeLines("two.txt", {" 乙 , mms://b ,x", "skip me", "丙,mms://c,"});
  load("one.txt");
  load("two.txt");
  EXPECT_EQ(readLines("wjmxd"), QStringList({"乙,mms://b,2", "丙,mms://c,3"}));
  load("missing.txt");
  EXPECT_TRUE(exists("wjmxd"));
  EXPECT_TRUE(readBytes("wjmxd").isEmpty());
}

TEST_F(StationListTest, GbkAndUtf8FilesGiveTheSameNames) {
  // 中央一台 and 北京 in GBK.
  writeBytes("gbk.txt", "\xd6\xd0\xd1\xeb\xd2\xbb\xcc\xa8,mms://a,\r\n\xb1\xb1\xbe\xa9,mms://b,\r\n");
  writeBytes("utf8.txt", "中央一台,mms://a,\n北京,mms://b,\n");
  writeBytes("bom.txt", "\xef\xbb\xbf中央一台,mms://a,\r\n北京,mms://b,\r\n");
  load("gbk.txt");
  load("utf8.txt");
  load("bom.txt");
  EXPECT_EQ(names(), QStringList({"中央一台", "北京", kSeparator, "中央一台", "北京", kSeparator,
                                  "中央一台", "北京"}));
}

TEST_F(StationListTest, LoaderYieldsSoEventsRunDuringALoad) {
  bool ran = false;
  host.post([&] { ran = true; });
  loadLines({"甲,mms://a,"});
  EXPECT_TRUE(ran);
}

TEST_F(StationListTest, StationsAppendedToAnyFileEndAreLoaded) {
  const struct {
    QByteArray old;
    QStringList names;
  } cases[] = {
      {"\xd6\xd0,mms://a,\r\n\r\n", {"中", "新"}},
      {"\xd6\xd0,mms://a,\r\n\r\n\r\n", {"中", "新"}},
      {"\xd6\xd0,mms://a,\r\xd1\xeb,mms://b,\r", {"中", "央", "新"}},
      {"\xd6\xd0,mms://a,\r\n\xd1", {"中", "新"}},
      {"\xd6\xd0,mms://a,\n\xd1\r\n", {"中", "新"}},
      {"Первый,http://a/1,\r\n\r\n", {"Первый", "新"}},
  };
  for (const auto& c : cases) {
    writeBytes(library::kFoundFile, c.old);
    library::AppendFoundEntry(f, "新,mms://n,");
    f.tvm.clear();
    f.dz1.clear();
    load(library::kFoundFile);
    EXPECT_EQ(names(), c.names) << c.old.toHex().constData();
  }
}

TEST_F(StationListTest, ReloadStartedWhileAnotherYieldsReplacesIt) {
  const struct {
    const char* what;
    std::function<void()> during;
    QStringList names;
  } cases[] = {
      {"an add",
       [this] {
         f.tvm.setText("新");
         f.dz1.setText("mms://n");
         library::AddStation(f);
       },
       {"甲", "新", kSeparator, "乙", kSeparator, "丙", "丁"}},
      {"the end of a scan", [this] { library::ListFoundStations(f); }, {"甲"}},
      {"another reload", [this] { library::ReloadAllStationLists(f); },
       {"甲", kSeparator, "乙", kSeparator, "丙", "丁"}},
  };
  for (const auto& c : cases) {
    writeLines("tv_lib_ss_jg.txt", {"甲,mms://a,"});
    writeLines("tv_lib_ss_www.txt", {"乙,mms://b,"});
    writeLines("tv_lib.txt", {"丙,mms://c,", "丁,mms://d,"});
    host.post(c.during);
    library::ReloadAllStationLists(f);
    EXPECT_EQ(names(), c.names) << c.what;
    EXPECT_EQ(addresses().size(), names().size()) << c.what;
  }
}

TEST_F(StationListTest, ReloadWhenIdleLeavesARunningScanOrSearchAlone) {
  const struct {
    const char* what;
    std::function<void()> running;
    QString dz1Text;
    QStringList names;
  } cases[] = {
      {"idle", [] {}, "", {"甲", kSeparator, kSeparator, "丙"}},
      {"a station scan", [this] { f.dz1.setText("list#0000003#"); }, "list#0000003#",
       {"旧", "乙"}},
      {"a web search", [this] { f.SearchState = kSearchRunning; }, "mms://b", {"旧", "乙"}},
  };
  for (const auto& c : cases) {
    writeLines("tv_lib_ss_jg.txt", {"甲,mms://a,"});
    writeLines("tv_lib.txt", {"丙,mms://c,"});
    f.SearchState = kSearchHalted;
    library::ClearStationLists(f);
    for (const char* name : {"旧", "乙"}) f.tvm.addItem(name);
    for (const char* address : {"mms://old", "mms://b"}) f.dz1.addItem(address);
    f.dz1.setText("mms://b");
    c.running();
    library::ReloadStationListsWhenIdle(f);
    EXPECT_EQ(names(), c.names) << c.what;
    EXPECT_EQ(f.dz1.text(), c.dz1Text) << c.what;
  }
}
