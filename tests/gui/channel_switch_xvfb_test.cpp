// The window plays a channel on an X server: its first line dies, its second
// is black, and the third plays; the failover is told over the picture and in
// the status line, the picture is covered between lines, and a line picked by
// hand from the menu or with [ and ] stays. Small stall and bad times keep
// the run short.
#include <QApplication>
#include <QMenu>
#include <QTemporaryDir>
#include <QTest>
#include <QToolButton>

#include "app/startup.h"
#include "base/text_file.h"
#include "event_loop_wait.h"
#include "gui/line_overlay.h"
#include "gui/picture_area.h"
#include "gui/window_program.h"
#include "channel_media.h"
#include "window_test_support.h"

namespace {

class ChannelWindowTest : public MediaServerTest {
 protected:
  ChannelWindowTest() : program(dir.path(), testPlayers()), f(program.form()) {}

  void SetUp() override {
    MediaServerTest::SetUp();
    const ChannelMedia& media = ChannelMedia::instance();
    ASSERT_TRUE(media.ok);
    LocalHttpServer::Route dying;
    dying.body = media.bytes("tone.mp3");
    dying.contentType = "audio/mpeg";
    dying.stallAfterBytes = 12500;  // about 3 s of sound
    dying.stallMs = 60000;
    server.addRoute("/dying.mp3", dying);
    server.addFile("/black.ts", media.bytes("black.ts"), "video/mp2t");
    server.addFile("/clip.ts", media.bytes("picture.ts"), "video/mp2t");
  }

  void start(const QStringList& stations) {
    ASSERT_TRUE(textfile::writeLines(f.path("tv_lib.txt"), stations));
    app::Form_Load(f);
    ASSERT_TRUE(waitUntil([this] { return !f.Timer10.enabled(); }, 5000));
    f.Command9.click();
    program.window().activateWindow();
    ASSERT_TRUE(QTest::qWaitForWindowActive(&program.window()));
  }

  QTemporaryDir dir;
  WindowProgram program;
  Form& f;
};

TEST_F(ChannelWindowTest, FailsOverToAPlayingLineAndLetsTheUserPick) {
  start({"CCTV-1," + server.url("/dying.mp3") + ",", "中央一台," + server.url("/black.ts") + ",",
         "CCTV1 HD," + server.url("/clip.ts") + ",", "CCTV-2," + server.url("/media/long.mp3") + ","});
  channels::LineSwitcher& switcher = program.channels().switcher();
  switcher.setLimits({2000, 3000, 8000});
  LineOverlay* overlay = program.channels().overlay();
  ASSERT_NE(overlay, nullptr);
  auto* picture = program.window().findChild<QWidget*>("WindowsMediaPlayer1")->findChild<PictureArea*>();
  QStringList switches;
  QObject::connect(&switcher, &channels::LineSwitcher::event, [&](const channels::LineEvent& e) {
    if (e.kind != channels::LineEvent::Kind::Switched) return;
    // The next line is loading: no frame of the line before may show.
    switches << QStringLiteral("%1 covered=%2").arg(f.l.caption()).arg(picture->covered());
  });

  // The user plays the channel by one of its names.
  f.tvm.setText("CCTV-1");
  f.dz1.setText(server.url("/dying.mp3"));
  f.Command2.click();
  ASSERT_TRUE(waitUntil([&] { return overlay->lineText().startsWith("线路 1/3"); }, 3000));
  ASSERT_TRUE(waitUntil([&] { return switcher.current() == 3 && !picture->covered(); }, 20000))
      << f.l.caption().toStdString();
  EXPECT_EQ(switches, (QStringList{"线路 1/3 无法播放：卡住，切换到线路 2/3… covered=1",
                                   "线路 2/3 无法播放：黑屏，切换到线路 3/3… covered=1"}));
  EXPECT_TRUE(overlay->lineText().startsWith("线路 3/3"));
  EXPECT_EQ(overlay->message(), "线路 2/3 无法播放：黑屏，切换到线路 3/3…");
  EXPECT_EQ(f.l.caption(), "线路 3/3 开始播放");
  EXPECT_EQ(f.dz1.text(), server.url("/clip.ts"));
  saveScreenshot(program.window(), "channel_line_three");

  // A line picked by hand from the menu plays and stays.
  QMenu* menu = overlay->findChild<QToolButton*>("lineButton")->menu();
  ASSERT_EQ(menu->actions().size(), 3);
  EXPECT_TRUE(menu->actions().at(2)->isChecked());
  menu->actions().at(1)->trigger();
  EXPECT_FALSE(switcher.switching());
  EXPECT_TRUE(overlay->lineText().startsWith("线路 2/3"));
  ASSERT_TRUE(waitUntil([&] { return f.l.caption().contains("黑屏"); }, 10000));
  EXPECT_EQ(switcher.current(), 2);
  EXPECT_EQ(f.dz1.text(), server.url("/black.ts"));

  // ] steps to the next line.
  QWidget* focus = QApplication::focusWidget();
  QTest::keyClick(focus ? focus : &program.window(), Qt::Key_BracketRight);
  EXPECT_EQ(switcher.current(), 3);
  EXPECT_TRUE(overlay->lineText().startsWith("线路 3/3"));

  // Another station ends the channel.
  f.tvm.setText("CCTV-2");
  f.dz1.setText(server.url("/media/long.mp3"));
  f.Command2.click();
  EXPECT_TRUE(overlay->lineText().isEmpty());
  EXPECT_EQ(switcher.lines().size(), 3);
}

}  // namespace
