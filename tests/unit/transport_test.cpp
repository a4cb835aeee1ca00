#include <QDir>
#include <QRegularExpression>
#include <functional>

#include "form_fixture.h"
#include "playback/play_address.h"
#include "playback/play_clock.h"
#include "playback/transport.h"

namespace {

using playback::FormatElapsed;

QString formatted(qint32 ms) { return FormatElapsed(ms); }

TEST(PlayClock, FormatsHoursMinutesSecondsWithoutLeadingZeros) {
  EXPECT_EQ(formatted(0), "0:0:0");
  EXPECT_EQ(formatted(499), "0:0:0");
  EXPECT_EQ(formatted(1500), "0:0:2");
  EXPECT_EQ(formatted(2500), "0:0:2");
  EXPECT_EQ(formatted(65000), "0:1:5");
  EXPECT_EQ(formatted(119000), "0:1:59");
  EXPECT_EQ(formatted(3599000), "0:59:59");
  EXPECT_EQ(formatted(3661000), "1:1:1");
  EXPECT_EQ(formatted(35999000), "9:59:59");
  EXPECT_EQ(formatted(36000000), "10:0:0");
  EXPECT_EQ(formatted(2147483647), "596:31:24");
}

TEST(PlayClock, LeavesWholeSecondsInItsArgument) {
  qint32 ms = 2500;
  FormatElapsed(ms);
  EXPECT_EQ(ms, 2);
  ms = 3500;
  FormatElapsed(ms);
  EXPECT_EQ(ms, 4);
}

class TransportTest : public FormTest {
 protected:
  TransportTest() {
    const QStringList names = {"CCTV-1", "Radio", "News", "Radio", "Film"};
    for (int i = 0; i < names.size(); ++i) {
      f.tvm.addItem(names[i]);
      f.dz1.addItem(QString("mms://host/%1").arg(i));
    }
  }
  void show(int i) {
    f.tvm.setListIndex(i);
    f.dz1.setListIndex(i);
  }
  QStringList urls() const { return log.filter(QRegularExpression("^wmp\\.URL=")); }
  QStringList folderFiles() const { return QDir(f.programDir).entryList(QDir::Files); }
};

TEST_F(TransportTest, PlayButtonPlaysTheAddressBoxAndHaltsPageScanning) {
  f.RunMode = kAutomaticRun;
  f.SearchState = kSearchRunning;
  f.dz1.setText("mms://typed/address");
  f.Command2.click();
  EXPECT_EQ(f.SearchState, kSearchHalted);
  EXPECT_EQ(f.RunMode, kNormalRun);
  EXPECT_EQ(urls(), QStringList{"wmp.URL=mms://typed/address"});
  EXPECT_EQ(f.List3.items(), QStringList{"mms://typed/address"});
}

TEST_F(TransportTest, PlayButtonOnAScanMarkerPlaysTheNextCandidate) {
  f.dz1.setText("list#0000001#");
  f.Command2.click();
  EXPECT_EQ(urls(), QStringList{"wmp.URL=mms://host/2"});
  EXPECT_EQ(f.tvm.text(), "News");
  EXPECT_EQ(f.dz1.text(), "list#0000002#");
}

TEST_F(TransportTest, EnterFindsTheNameInAnyCaseAndPlaysTheAddressUnresolved) {
  f.tvm.setText("news");
  f.tvm.keyDown(65);
  EXPECT_TRUE(log.isEmpty());
  f.tvm.keyDown(13);
  EXPECT_EQ(f.tvm.text(), "News");
  EXPECT_EQ(f.dz1.text(), "mms://host/2");
  EXPECT_EQ(urls(), QStringList{"wmp.URL=mms://host/2"});
  EXPECT_TRUE(f.List3.items().isEmpty());
}

TEST_F(TransportTest, EnterWithAnUnknownNameDoesNothing) {
  f.tvm.setText("nowhere");
  f.dz1.setText("mms://keep");
  f.tvm.keyDown(13);
  EXPECT_TRUE(log.isEmpty());
  EXPECT_EQ(f.dz1.text(), "mms://keep");
  EXPECT_TRUE(folderFiles().isEmpty());
}

TEST_F(TransportTest, PreviousAndNextStepFromTheFirstMatchInAnyCase) {
  f.tvm.setText("radio");
  f.Command5.click();
  EXPECT_EQ(f.tvm.text(), "News");
  EXPECT_EQ(f.tvm.listIndex(), 2);
  EXPECT_EQ(urls().last(), "wmp.URL=mms://host/2");
  EXPECT_TRUE(f.Check2.checked());

  f.Check2.setChecked(false);
  f.tvm.setText("RADIO");
  f.Command4.click();
  EXPECT_EQ(f.tvm.text(), "CCTV-1");
  EXPECT_EQ(f.dz1.text(), "mms://host/0");
  EXPECT_EQ(urls().last(), "wmp.URL=mms://host/0");
  EXPECT_TRUE(f.Check2.checked());
}

TEST_F(TransportTest, TheChosenEntryOfARepeatedNameIsTheOneUsed) {
  const struct {
    const char* what;
    std::function<void(Form&)> act;
    int shown;
  } cases[] = {
      {"next", [](Form& g) { g.Command5.click(); }, 4},
      {"previous", [](Form& g) { g.Command4.click(); }, 2},
      {"the deferred next entry", playback::PlayNextEntry, 4},
  };
  for (const auto& c : cases) {
    show(3);
    c.act(f);
    EXPECT_EQ(f.tvm.listIndex(), c.shown) << c.what;
    EXPECT_EQ(urls().last(), QString("wmp.URL=mms://host/%1").arg(c.shown)) << c.what;
  }
  // Chosen, then retyped: the name is looked up as written.
  show(3);
  f.tvm.setText("Radio");
  f.Command5.click();
  EXPECT_EQ(f.tvm.listIndex(), 2);
}

TEST_F(TransportTest, StepToARealMediaEntryKeepsManualMode) {
  f.dz1.insertItem(1, "rtsp://host/a.rm");
  f.tvm.insertItem(1, "Real");
  show(0);
  f.Command5.click();
  EXPECT_TRUE(log.contains("real.put(102,rtsp://host/a.rm)"));
  EXPECT_TRUE(f.Check2.checked());
}

TEST_F(TransportTest, SteppingPastEitherEndChangesNothing) {
  show(0);
  f.Command4.click();
  show(4);
  f.Command5.click();
  EXPECT_TRUE(urls().isEmpty());
  EXPECT_EQ(f.tvm.text(), "Film");
  EXPECT_EQ(f.dz1.text(), "mms://host/4");
  EXPECT_TRUE(folderFiles().isEmpty());
}

TEST_F(TransportTest, SteppingFromAnUnknownNameOnlySetsRepeatAndHeight) {
  f.form1.setHeight(kTallHeight);
  f.tvm.setText("nowhere");
  f.Command5.click();
  EXPECT_EQ(takeLog(), QStringList{"wmp.playCount=10"});
  EXPECT_EQ(f.form1.height(), kCompactHeight);
  EXPECT_EQ(f.tvm.text(), "nowhere");
}

TEST_F(TransportTest, ChoosingANameSelectsItsAddressAndPlaysIt) {
  f.RunMode = kAutomaticRun;
  f.form1.setHeight(kTallHeight);
  f.tvm.setVisible(false);
  f.tvm.setListIndex(2);
  f.tvm.click();
  EXPECT_EQ(f.dz1.text(), "mms://host/2");
  EXPECT_EQ(wmp.playCount, 10);
  EXPECT_EQ(f.RunMode, kNormalRun);
  EXPECT_EQ(urls(), QStringList{"wmp.URL=mms://host/2"});
  EXPECT_TRUE(f.tvm.visible());
  EXPECT_EQ(f.form1.height(), kCompactHeight);
  EXPECT_EQ(f.Command3.caption(), "2");
  EXPECT_EQ(f.Command3.toolTip(), "在列表框中序号");
}

TEST_F(TransportTest, ChoosingAnAddressSelectsItsNameAndKeepsTheHeight) {
  f.form1.setHeight(kTallHeight);
  f.dz1.setListIndex(3);
  f.dz1.click();
  EXPECT_EQ(f.tvm.text(), "Radio");
  EXPECT_EQ(urls(), QStringList{"wmp.URL=mms://host/3"});
  EXPECT_EQ(f.form1.height(), kTallHeight);
  EXPECT_EQ(f.Command3.caption(), "3");
}

TEST_F(TransportTest, FocusShowsTheAddCaption) {
  f.Command3.setCaption("7");
  f.dz1.setVisible(false);
  f.tvm.gotFocus();
  EXPECT_TRUE(f.dz1.visible());
  EXPECT_EQ(f.Command3.caption(), "增加");
  EXPECT_EQ(f.Command3.toolTip(), "增加电视台地址");
  f.Command3.lostFocus();
  EXPECT_EQ(f.Command3.caption(), "add");
  f.tvm.lostFocus();
  EXPECT_EQ(f.Command3.caption(), "增加");
  f.Command3.setCaption("7");
  f.tvm.setVisible(false);
  f.dz1.gotFocus();
  EXPECT_TRUE(f.tvm.visible());
  EXPECT_EQ(f.Command3.caption(), "增加");
}

TEST_F(TransportTest, OpenButtonPlaysTheChosenFileAndIgnoresACancel) {
  f.Command18.click();
  EXPECT_TRUE(log.isEmpty());
  host.dialogAnswers << "/home/user/clip.wmv";
  f.Command18.click();
  EXPECT_EQ(f.CommonDialog1.FileName, "/home/user/clip.wmv");
  EXPECT_EQ(f.dz1.text(), "/home/user/clip.wmv");
  EXPECT_EQ(urls(), QStringList{"wmp.URL=/home/user/clip.wmv"});
}

TEST_F(TransportTest, TheFirstTimer10TickPlaysTheEntryAfterTheRestoredName) {
  show(1);
  f.startTimers();
  host.advance(100);
  EXPECT_EQ(f.tvm.text(), "News");
  EXPECT_EQ(urls(), QStringList{"wmp.URL=mms://host/2"});
  EXPECT_FALSE(f.Timer10.enabled());
  f.Timer10.setEnabled(true);
  f.Timer10.setEnabled(true);
  host.advance(1000);
  EXPECT_EQ(urls().size(), 2);
}

TEST_F(TransportTest, Timer10LeavesARunningScanAlone) {
  show(1);
  f.dz1.setText("list#0000001#");
  f.startTimers();
  host.advance(300);
  EXPECT_TRUE(urls().isEmpty());
}

TEST_F(TransportTest, NextEntryAfterTheLastOrAnUnknownNamePlaysNothing) {
  show(4);
  playback::PlayNextEntry(f);
  f.tvm.setText("nowhere");
  playback::PlayNextEntry(f);
  EXPECT_TRUE(urls().isEmpty());
}

TEST_F(TransportTest, PauseAndContinueDriveBothPlayersAndTheClock) {
  wmp.state = MediaPlayer::Playing;
  f.Command14.setEnabled(true);
  f.Command14.click();
  EXPECT_EQ(takeLog(), QStringList({"wmp.pause", "real.call(258)"}));
  EXPECT_EQ(f.Command14.caption(), "继续");
  EXPECT_FALSE(f.Timer5.enabled());
  f.Command14.click();
  EXPECT_EQ(takeLog(), QStringList({"wmp.play", "real.call(257)"}));
  EXPECT_EQ(f.Command14.caption(), "暂停");
  EXPECT_TRUE(f.Timer5.enabled());
}

TEST_F(TransportTest, PauseWhileTheMediaPlayerIsReadyPausesOnlyTheRealPlayer) {
  wmp.state = MediaPlayer::Ready;
  playback::TogglePause(f);
  EXPECT_EQ(takeLog(), QStringList{"real.call(258)"});
  EXPECT_TRUE(folderFiles().isEmpty());
}

TEST_F(TransportTest, ClockCountsOnlyOnceStartedAndNeverFreezes) {
  f.startTimers();
  f.Timer10.setEnabled(false);
  host.advance(500);
  EXPECT_EQ(f.ElapsedMs, 0);
  EXPECT_EQ(f.Label3.caption(), "");
  f.ElapsedMs = 1;
  host.advance(1500);
  EXPECT_EQ(f.ElapsedMs, 1501);
  EXPECT_EQ(f.Label3.caption(), "0:0:2");
  f.ElapsedMs = 35999951;
  host.advance(50);
  EXPECT_EQ(f.Label3.caption(), "10:0:0");
  host.advance(1000);
  EXPECT_EQ(f.Label3.caption(), "10:0:1");
}

}  // namespace
