#include "form_fixture.h"
#include "playback/play_address.h"

namespace {

const QString kMainWindow = kProductCaption + " ver " + kVersion;

class PopupCheckTest : public FormTest {
 protected:
  PopupCheckTest() {
    f.Timer10.setEnabled(false);
    f.startTimers();
    host.windows << kMainWindow;
  }
};

TEST_F(PopupCheckTest, WatchedWordsInAnyCaseCloseWithinOneTick) {
  for (const QString title : {"RealPlayer AutoUpdate", "AUTOUPDATE", "Contact us", "ReCONTACTing"}) {
    host.windows << title;
    host.advance(50);
    EXPECT_EQ(host.windows, QStringList{kMainWindow}) << title.toStdString();
  }
  EXPECT_EQ(host.closeRequests,
            QStringList({"RealPlayer AutoUpdate", "AUTOUPDATE", "Contact us", "ReCONTACTing"}));
}

TEST_F(PopupCheckTest, MainWindowAndOtherDialogsStayOpen) {
  host.windows << "播放列表";
  host.advance(1000);
  host.windows.removeLast();
  host.advance(1000);
  EXPECT_TRUE(host.closeRequests.isEmpty());
}

TEST_F(PopupCheckTest, RefusedCloseIsAskedAgainOnEveryTick) {
  host.popupsRefuseClose = true;
  host.windows << "autoupdate";
  host.advance(150);
  EXPECT_EQ(host.closeRequests.size(), 3);
}

TEST_F(PopupCheckTest, NoCheckWhileTheClockIsStopped) {
  playback::StopAll(f);
  host.windows << "AutoUpdate";
  host.advance(500);
  EXPECT_TRUE(host.closeRequests.isEmpty());
  playback::PlayAddress(f, "mms://host/tv");
  host.advance(50);
  EXPECT_EQ(host.closeRequests, QStringList{"AutoUpdate"});
}

TEST_F(PopupCheckTest, TitleBeyondTheBufferIsNotRead) {
  host.windows << QString(254, u'x') + "contact";
  host.advance(100);
  EXPECT_TRUE(host.closeRequests.isEmpty());
}

}  // namespace
