#include <QComboBox>
#include <QLabel>
#include <QPushButton>
#include <QTemporaryDir>

#include "app/startup.h"
#include "base/text_file.h"
#include "event_loop_wait.h"
#include "gui/window_program.h"
#include "media_fixtures.h"
#include "user_input.h"

namespace {

using userinput::click;

MpvOptions testPlayers() {
  MpvOptions options;
  options.video = true;
  options.startTimeoutMs = 3000;
  return options;
}

// The whole program with its window and real engines on a fresh folder,
// playing and browsing what the test's own server offers.
class WindowProgramTest : public MediaServerTest {
 protected:
  WindowProgramTest() : program(dir.path(), testPlayers()), f(program.form()) {}

  void SetUp() override {
    MediaServerTest::SetUp();
    app::Form_Load(f);
    // The first tick of Timer10 plays the entry after the restored one; it
    // must not replace what the test plays.
    ASSERT_TRUE(waitUntil([this] { return !f.Timer10.enabled(); }, 2000));
  }

  template <class W = QWidget>
  W* widget(const char* name) {
    W* w = program.window().findChild<W*>(QString::fromLatin1(name));
    EXPECT_NE(w, nullptr) << name;
    return w;
  }
  QStringList fileLines(const QString& name) const {
    return textfile::readLines(f.path(name)).value_or(QStringList());
  }
  void playAddress(const QString& address) {
    f.dz1.setText(address);
    click(widget("Command2"));
  }

  QTemporaryDir dir;
  WindowProgram program;
  Form& f;
};

TEST_F(WindowProgramTest, PlaysFromTheWindowAndSavesOnClose) {
  EXPECT_EQ(program.window().windowTitle(), QStringLiteral("Orvanel网络电视-全新版 ver 5.5"));
  EXPECT_EQ(widget<QPushButton>("Command2")->text(), QStringLiteral("播放"));

  // The media player's own bar counts the time of a stream it plays.
  auto* elapsed = widget<QLabel>("elapsed");
  playAddress(server.url("/media/long.mp3"));
  EXPECT_TRUE(waitUntil([&] { return elapsed->text() >= QStringLiteral("00:02"); }, 8000))
      << elapsed->text().toStdString();
  EXPECT_TRUE(widget("WindowsMediaPlayer1")->isVisible());
  EXPECT_EQ(widget<QLabel>("total")->text(), QStringLiteral("00:06"));

  // A RealMedia address plays in the second player, whose time Label3 shows.
  playAddress(server.url("/media/tone.rm"));
  EXPECT_TRUE(waitUntil([&] { return f.Label3.caption() == QStringLiteral("0:0:1"); }, 8000))
      << f.Label3.caption().toStdString();
  EXPECT_TRUE(widget("RealAudio1")->isVisible());
  EXPECT_FALSE(widget("WindowsMediaPlayer1")->isVisible());

  program.window().close();
  EXPECT_TRUE(f.terminated);
  EXPECT_EQ(fileLines("gjz.txt").size(), 3);
  EXPECT_EQ(fileLines("bfwz.dat").value(0), QStringLiteral("real"));
}

TEST_F(WindowProgramTest, WebSearchOnATypedAddressFillsTheLists) {
  const QString page = QStringLiteral(
                           "<html><body><a href=\"/\">首页</a>"
                           "<a href=\"%1\">音乐一</a><a href=\"%2\">音乐二</a>"
                           "<a href=\"/more.htm\">更多</a></body></html>")
                           .arg(server.url("/media/tone.mp3"), server.url("/media/long.mp3"));
  server.addFile("/list.htm", page.toUtf8(), "text/html; charset=utf-8");

  // A typed address in manual mode: the browser opens it and scans it.
  f.tvm.setText(server.url("/list.htm"));
  click(widget("Check2"));
  click(widget("Command17"));
  ASSERT_TRUE(waitUntil([this] { return f.dz1.count() >= 2; }, 20000));

  EXPECT_TRUE(widget("WebBrowser1")->isVisible());
  auto* names = widget<QComboBox>("tvm");
  auto* addresses = widget<QComboBox>("dz1");
  ASSERT_EQ(names->count(), 2);
  EXPECT_EQ(names->itemText(0), QStringLiteral("音乐一"));
  // Each find names its page as the Referer its server may ask for.
  const QString referer = "|Referer=" + server.url("/list.htm");
  EXPECT_EQ(addresses->itemText(1), server.url("/media/long.mp3") + referer);
  EXPECT_EQ(fileLines("tv_lib_ss_www.txt"),
            (QStringList{"音乐一," + server.url("/media/tone.mp3") + referer + ",",
                         "音乐二," + server.url("/media/long.mp3") + referer + ","}));
  // The page link waits in the queue: manual mode loads nothing by itself.
  EXPECT_EQ(f.List3.items(), QStringList{QStringLiteral("更多")});
}

}  // namespace
