#include <QDir>

#include "app/startup.h"
#include "file_write_log.h"
#include "form_fixture.h"

namespace {

const QString kMediaTypes = QStringLiteral(".mp3-.dat-.ram-.rm-mms:-rtsp:-.asx-.wmv-.");
const QString kStartMarkers = QStringLiteral("http://;mms://;rtsp://;url=;value=");
const QString kEndMarkers = QStringLiteral(".mp3;.dat;.ram;.rm;.asx;.wmv;\";';--;>");

QStringList stationLines(int count) {
  QStringList lines;
  for (int i = 0; i < count; ++i) lines << QString("台%1,mms://host/%1,").arg(i);
  return lines;
}

}  // namespace

class StartupTest : public FormTest {
 protected:
  // Records the marker boxes, the list loading and the selection in the
  // engine log, so their order against the engine calls shows.
  void traceBoxes() {
    QObject::connect(&f.Text3, &TextBox::textChanged, [this] { log << "Text3"; });
    QObject::connect(&f.tvm, &ListControl::itemInserted,
                     [this](int i) { log << "tvm+" + f.tvm.item(i); });
    QObject::connect(&f.tvm, &ListControl::textChanged,
                     [this](const QString& t) { log << "tvm=" + t; });
  }
  void load() { app::Form_Load(f); }
  void playedAt(const QString& kind, int index) {
    f.PlayerKind = kind;
    f.tvm.setListIndex(index);
  }
};

TEST_F(StartupTest, LoadRunsEngineCallsAndListLoadingInOrder) {
  writeLines("gjz.txt", {"types", "starts", "ends"});
  writeLines("tv_lib.txt", {"甲,mms://a,", "乙,mms://b,"});
  writeLines("bfwz.dat", {"win", "1"});
  real.logGets = true;
  traceBoxes();
  load();
  EXPECT_EQ(log, QStringList({"wmp.mute=0", "real.call(229,false)", "Text3",
                              "real.call(326,true)", "tvm+甲", "tvm+乙", "tvm=乙",
                              "real.call(271,3)", "real.call(231,true)", "real.call(307,true)",
                              "real.call(275,true)", "real.get(220)", "real.call(221,true)",
                              "real.get(329)"}));
}

TEST_F(StartupTest, LoadLeavesTheWindowAndBoxesAsStartUpSays) {
  writeLines("tv_lib.txt", {"甲,mms://a,"});
  f.Check2.setChecked(false);
  load();
  EXPECT_EQ(f.form1.caption(), "Orvanel网络电视-全新版 ver 5.5");
  EXPECT_EQ(f.form1.height(), 6500);
  EXPECT_EQ(f.form1.width(), 8500);
  EXPECT_TRUE(f.form1.visible());
  EXPECT_TRUE(f.l.visible());
  EXPECT_TRUE(f.Text1.visible());
  EXPECT_TRUE(f.dz1.enabled());
  EXPECT_TRUE(f.Command3.visible());
  // The count is taken before the lists are loaded.
  EXPECT_EQ(f.Command3.caption(), "0");
  EXPECT_TRUE(f.Command2.focusRequested());
  EXPECT_FALSE(f.WebBrowser1.visible());
  EXPECT_FALSE(f.Check2.checked());
  EXPECT_EQ(f.RunMode, kNormalRun);
  EXPECT_EQ(f.tvm.text(), "甲");
  EXPECT_EQ(f.dz1.text(), "mms://a");
  EXPECT_TRUE(host.messages.isEmpty());
}

TEST_F(StartupTest, LoadWritesNothingButTheScratchFile) {
  writeLines("gjz.txt", {"a"});
  writeLines("tv_lib.txt", {"甲,mms://a,"});
  writeLines("bfwz.dat", {"real", "0"});
  FileWriteLog written(dir.path());
  load();
  EXPECT_EQ(written.take({"gjz.txt", "tv_lib.txt", "bfwz.dat", "dqwz.dat",
                          "tv_lib_ss_jg.txt", "tv_lib_ss_www.txt"}),
            QStringList());
}

TEST_F(StartupTest, MissingMarkerFileKeepsDefaultsAndUnloadWritesThem) {
  load();
  EXPECT_EQ(f.Text3.text(), kMediaTypes);
  EXPECT_EQ(f.Text4.text(), kStartMarkers);
  EXPECT_EQ(f.Text5.text(), kEndMarkers);
  app::Form_Unload(f);
  EXPECT_EQ(readBytes("gjz.txt"), (kMediaTypes + "\r\n" + kStartMarkers + "\r\n" + kEndMarkers +
                                   "\r\n").toLatin1());
}

TEST_F(StartupTest, MarkerFileWithOneLineFillsOnlyTheFirstBox) {
  writeLines("gjz.txt", {"媒体类型"});
  load();
  EXPECT_EQ(f.Text3.text(), "媒体类型");
  EXPECT_EQ(f.Text4.text(), kStartMarkers);
  EXPECT_EQ(f.Text5.text(), kEndMarkers);
  app::Form_Unload(f);
  EXPECT_EQ(readLines("gjz.txt"), QStringList({"媒体类型", kStartMarkers, kEndMarkers}));
}

TEST_F(StartupTest, MarkerFileWithFiftyLinesUsesTheFirstThree) {
  QStringList lines;
  for (int i = 1; i <= 50; ++i) lines << QString("line %1").arg(i);
  writeLines("gjz.txt", lines);
  load();
  EXPECT_EQ(f.Text3.text(), "line 1");
  EXPECT_EQ(f.Text4.text(), "line 2");
  EXPECT_EQ(f.Text5.text(), "line 3");
  app::Form_Unload(f);
  EXPECT_EQ(readLines("gjz.txt"), QStringList({"line 1", "line 2", "line 3"}));
}

struct VersionCase {
  const char* mediaPlayer;
  const char* realPlayer;
  QStringList messages;
};

class VersionCheckTest : public FormTest, public ::testing::WithParamInterface<VersionCase> {};

TEST_P(VersionCheckTest, ComparesOnlyTheMajorNumber) {
  wmp.version = QString::fromUtf8(GetParam().mediaPlayer);
  real.props[RealPlayer::Version] = QString::fromUtf8(GetParam().realPlayer);
  app::Form_Load(f);
  QStringList shown;
  for (const auto& m : host.messages) shown << m.text;
  EXPECT_EQ(shown, GetParam().messages);
}

const QString kMediaPlayerMessage = QStringLiteral("请安装 WindowsMediaPlayer 9.0.0.2980 及以上版本");
const QString kRealMessage = QStringLiteral("请安装 Real 6.0.11.847 及以上版本");

INSTANTIATE_TEST_SUITE_P(
    Versions, VersionCheckTest,
    ::testing::Values(VersionCase{"10.0.0.4", "6.0.10.1", {}},
                      VersionCase{"9.0.0.2980", "16.0.0.35", {}},
                      VersionCase{"7.1.0", "16.0", {kMediaPlayerMessage}},
                      VersionCase{"", "16.0", {kMediaPlayerMessage}},
                      VersionCase{"12", "16.0", {kMediaPlayerMessage}},
                      VersionCase{"abc.1", "16.0", {kMediaPlayerMessage}},
                      VersionCase{"12.0", "5.0.11.847", {kRealMessage}},
                      VersionCase{"", "", {kMediaPlayerMessage, kRealMessage}}));

struct IndexCase {
  const char* saved;
  int selected;  // -1: nothing selected, empty texts
  qint32 stationIndex;
};

class StationIndexTest : public FormTest, public ::testing::WithParamInterface<IndexCase> {};

TEST_P(StationIndexTest, ClampsTheSavedIndexToTheLists) {
  writeLines("tv_lib.txt", stationLines(20));
  writeLines("bfwz.dat", {"win", GetParam().saved});
  app::Form_Load(f);
  EXPECT_EQ(f.StationIndex, GetParam().stationIndex);
  const int selected = GetParam().selected;
  EXPECT_EQ(f.tvm.listIndex(), selected);
  EXPECT_EQ(f.dz1.listIndex(), selected);
  EXPECT_EQ(f.tvm.text(), f.tvm.item(selected));
  EXPECT_EQ(f.dz1.text(), f.dz1.item(selected));
}

INSTANTIATE_TEST_SUITE_P(Saved, StationIndexTest,
                         ::testing::Values(IndexCase{"500", 0, 0}, IndexCase{"-3", 0, 0},
                                           IndexCase{"19", 19, 19}, IndexCase{"20", -1, 20},
                                           IndexCase{"21", 0, 0}, IndexCase{"-1", 0, 0}));

TEST_F(StartupTest, UnloadDuringAutomaticRunSavesRunPositionThenLastPlayed) {
  writeLines("tv_lib_ss_jg.txt", {"旧台,mms://old,"});
  writeLines("tv_lib.txt", stationLines(5));
  load();
  playedAt("win", 3);
  f.RunMode = kAutomaticRun;
  f.Text2.setText("新台,mms://new,");
  FileWriteLog written(dir.path());
  app::Form_Unload(f);
  EXPECT_EQ(written.take({"gjz.txt", "dqwz.dat", "bfwz.dat"}),
            QStringList({"gjz.txt", "dqwz.dat", "bfwz.dat"}));
  EXPECT_EQ(readBytes("dqwz.dat"), "win\r\n3\r\n");
  EXPECT_EQ(readBytes("bfwz.dat"), "win\r\n3\r\n");
  EXPECT_EQ(readLines("tv_lib_ss_jg.txt"), QStringList({"旧台,mms://old,", "新台,mms://new,"}));
  EXPECT_FALSE(f.form1.visible());
  EXPECT_TRUE(f.terminated);
  EXPECT_TRUE(host.quitCalled);
  for (Timer* t : {&f.Timer5, &f.Timer8, &f.Timer9, &f.Timer10}) EXPECT_FALSE(t->enabled());
}

TEST_F(StartupTest, UnloadInNormalUseSavesOnlyLastPlayed) {
  writeLines("tv_lib.txt", stationLines(5));
  load();
  playedAt("real", 2);
  FileWriteLog written(dir.path());
  app::Form_Unload(f);
  EXPECT_EQ(written.take({"gjz.txt", "dqwz.dat", "bfwz.dat", "tv_lib_ss_jg.txt"}),
            QStringList({"gjz.txt", "bfwz.dat"}));
  EXPECT_EQ(readBytes("bfwz.dat"), "real\r\n2\r\n");
  EXPECT_FALSE(exists("dqwz.dat"));
}

TEST_F(StartupTest, UnloadBeforeAnyPlayLeavesPositionFilesAlone) {
  writeBytes("bfwz.dat", "real\r\n7\r\n");
  writeBytes("dqwz.dat", "win\r\n9");
  writeLines("tv_lib.txt", stationLines(5));
  load();
  f.RunMode = kAutomaticRun;
  app::Form_Unload(f);
  EXPECT_EQ(readBytes("bfwz.dat"), "real\r\n7\r\n");
  EXPECT_EQ(readBytes("dqwz.dat"), "win\r\n9");
  EXPECT_TRUE(exists("gjz.txt"));
}

TEST_F(StartupTest, NothingSelectedAtUnloadSelectsTheFirstEntryNextTime) {
  writeLines("tv_lib.txt", stationLines(5));
  load();
  f.PlayerKind = "win";
  f.tvm.setText("typed, not listed");
  app::Form_Unload(f);
  EXPECT_EQ(readBytes("bfwz.dat"), "win\r\n-1\r\n");

  TestHost nextHost;
  Form next(nextHost, wmp, real, web, dir.path());
  app::Form_Load(next);
  EXPECT_EQ(next.StationIndex, 0);
  EXPECT_EQ(next.tvm.listIndex(), 0);
  EXPECT_EQ(next.dz1.text(), "mms://host/0");
}

class ToggleViewTest : public StartupTest {
 protected:
  void SetUp() override { load(); }
};

TEST_F(ToggleViewTest, Label3TwiceReturnsToCompactWithText1Hidden) {
  f.Label3.click();
  EXPECT_EQ(f.form1.height(), 8000);
  EXPECT_TRUE(f.Text1.visible());
  EXPECT_TRUE(f.l.visible());
  EXPECT_EQ(f.List3.height(), 6800);
  f.Label3.click();
  EXPECT_EQ(f.form1.height(), 6500);
  EXPECT_EQ(f.form1.width(), 8500);
  EXPECT_FALSE(f.Text1.visible());
  EXPECT_FALSE(f.l.visible());
  EXPECT_EQ(f.List3.height(), 5300);
  EXPECT_TRUE(f.Command2.focusRequested());
}

TEST_F(ToggleViewTest, Label1TwiceLeavesText1Visible) {
  f.Label1.click();
  f.Label1.click();
  EXPECT_EQ(f.form1.height(), 6500);
  EXPECT_TRUE(f.Text1.visible());
  EXPECT_FALSE(f.l.visible());
}

TEST_F(ToggleViewTest, TallViewShowsTheHiddenBoxesAgain) {
  f.Label3.click();
  f.Label3.click();
  f.dz1.setVisible(false);
  f.Frame1.click();
  EXPECT_TRUE(f.Text1.visible());
  EXPECT_TRUE(f.dz1.visible());
  EXPECT_TRUE(f.l.visible());
}

TEST_F(ToggleViewTest, Frame1NarrowsTheWindowLabelsDoNot) {
  f.form1.setWidth(kWideWidth);
  f.Label1.click();
  EXPECT_EQ(f.form1.width(), kWideWidth);
  f.Label1.click();
  f.form1.setWidth(kWideWidth);
  f.Frame1.click();
  EXPECT_EQ(f.form1.width(), 8500);
  EXPECT_EQ(f.form1.height(), 8000);
}

TEST_F(ToggleViewTest, TallViewWidensOnlyWhileTheBrowserShows) {
  f.form1.setWidth(kPlayingWidth);
  f.Label1.click();
  EXPECT_EQ(f.form1.width(), kPlayingWidth);
  f.Label1.click();
  f.WebBrowser1.setVisible(true);
  f.Label1.click();
  EXPECT_EQ(f.form1.width(), kWideWidth);
}
