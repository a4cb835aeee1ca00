#include <QAbstractItemView>
#include <QComboBox>
#include <QLabel>
#include <QLineEdit>
#include <QMenu>
#include <QMessageBox>
#include <QMimeData>
#include <QTimer>
#include <QTranslator>
#include <QProcess>
#include <QPushButton>
#include <QScreen>
#include <QSignalSpy>
#include <QSlider>
#include <QTableWidget>
#include <QToolButton>
#include <QTreeView>
#include <QWheelEvent>
#include <QTemporaryDir>
#include <QTest>

#include "app/startup.h"
#include "base/text_file.h"
#include "base/user_agent.h"
#include "check/check_verdict.h"
#include "engines/mpv_failure.h"
#include "event_loop_wait.h"
#include "gui/media_control_bar.h"
#include "gui/picture_area.h"
#include "gui/qt_translations.h"
#include "gui/window_program.h"
#include "history/health_db.h"
#include "line_verdicts.h"
#include "playlists/station_file.h"
#include "png_bytes.h"
#include "media_fixtures.h"
#include "thread_cpu_time.h"
#include "window_test_support.h"

namespace {

QString makeVideo(const QString& folder) {
  const QString path = folder + "/clip.mpg";
  const int rc = QProcess::execute("ffmpeg", {"-loglevel", "error", "-y", "-f", "lavfi", "-i",
                                              "testsrc=size=320x240:rate=25", "-t", "20",
                                              "-c:v", "mpeg1video", path});
  return rc == 0 ? path : QString();
}

// The whole program with its window and real engines on an X server, driven
// with the keyboard and the mouse as a user drives it.
class WindowFeaturesTest : public MediaServerTest {
 protected:
  WindowFeaturesTest() : program(dir.path(), testPlayers()), f(program.form()) {}

  // Starts the window on these station lines.
  void start(const QStringList& stations = {}) {
    // Qt's own texts as the program shows them.
    static QTranslator* qtTexts = loadQtTranslations(QLocale::c(), qApp);
    QApplication::installTranslator(qtTexts);
    ASSERT_TRUE(textfile::writeLines(f.path("tv_lib.txt"), stations));
    app::Form_Load(f);
    // The first tick of Timer10 plays the entry after the restored one.
    ASSERT_TRUE(waitUntil([this] { return !f.Timer10.enabled(); }, 5000));
    f.Command9.click();
    window().activateWindow();
    ASSERT_TRUE(QTest::qWaitForWindowActive(&window()));
  }

  MainWindow& window() { return program.window(); }
  QStringList fileLines(const QString& name) const {
    return textfile::readLines(f.path(name)).value_or(QStringList());
  }
  template <class W = QWidget>
  W* widget(const QString& name) {
    W* w = window().findChild<W*>(name);
    EXPECT_NE(w, nullptr) << name.toStdString();
    return w;
  }
  // A widget of the program, in the window or a pop-up of its own.
  template <class W>
  W* anyWidget(const QString& name) {
    for (QWidget* w : QApplication::allWidgets())
      if (w->objectName() == name) return qobject_cast<W*>(w);
    ADD_FAILURE() << name.toStdString();
    return nullptr;
  }
  QWidget* focus() { return QApplication::focusWidget() ? QApplication::focusWidget() : &window(); }
  void playAddress(const QString& address) {
    f.dz1.setText(address);
    QTest::mouseClick(widget("Command2"), Qt::LeftButton);
  }
  bool waitForState(int state, int ms = 8000) {
    return waitUntil([&] { return program.mediaPlayer().playState() == state; }, ms);
  }
  void screenshot(const QString& name) { saveScreenshot(window(), name); }

  QTemporaryDir dir;
  WindowProgram program;
  Form& f;
};

PictureArea* mediaPicture(MainWindow& window) {
  return window.findChild<QWidget*>("WindowsMediaPlayer1")->findChild<PictureArea*>();
}

TEST_F(WindowFeaturesTest, FilterFindsAStationAmong100000AndPlaysIt) {
  QStringList stations;
  for (int i = 0; i < 100000; ++i) stations << QStringLiteral("电台%1,http://127.0.0.1:9/%1.mp3,").arg(i);
  stations.insert(76543, "凤凰卫视 Phoenix HD," + server.url("/media/long.mp3") + ",");
  start(stations);

  auto* names = widget<QComboBox>("tvm");
  QTest::mouseClick(names->lineEdit(), Qt::LeftButton);
  names->lineEdit()->clear();
  const QString typed = QStringLiteral("phoeni");  // any case
  const qint64 typingMs = msToRun([&] { QTest::keyClicks(names->lineEdit(), typed); });
  auto* popup = anyWidget<QAbstractItemView>("tvmFilter");
  ASSERT_NE(popup, nullptr);
  ASSERT_TRUE(waitUntil([&] { return popup->isVisible(); }, 2000));
  ASSERT_EQ(popup->model()->rowCount(), 1);
  EXPECT_EQ(popup->model()->index(0, 0).data().toString(), QStringLiteral("凤凰卫视 Phoenix HD"));
  // A keystroke's search of 100,000 names takes about 5 ms of the UI thread,
  // the pop-up it shows included.
  EXPECT_LT(typingMs, 15 * typed.size());
  RecordProperty("cpu_ms_per_keystroke", static_cast<int>(typingMs / typed.size()));
  screenshot("filter_popup");

  // Down into the list and Enter: chosen as from the drop-down, so it plays.
  QTest::keyClick(popup, Qt::Key_Down);
  QTest::keyClick(popup, Qt::Key_Return);
  EXPECT_EQ(f.tvm.listIndex(), 76543);
  EXPECT_EQ(f.dz1.text(), server.url("/media/long.mp3"));
  EXPECT_TRUE(waitForState(MediaPlayer::Playing));

  // The address box filters by address; the starters come first.
  auto* addresses = widget<QComboBox>("dz1");
  addresses->lineEdit()->clear();
  QTest::keyClicks(addresses->lineEdit(), "127.0.0.1:9/1234");
  auto* byAddress = anyWidget<QAbstractItemView>("dz1Filter");
  ASSERT_NE(byAddress, nullptr);
  ASSERT_TRUE(waitUntil([&] { return byAddress->isVisible(); }, 2000));
  EXPECT_EQ(byAddress->model()->index(0, 0).data().toString(),
            QStringLiteral("http://127.0.0.1:9/1234.mp3"));
  // Its rows point into the list as it was: a change of the list closes it.
  f.tvm.removeItem(0);
  f.dz1.removeItem(0);
  EXPECT_FALSE(byAddress->isVisible());
  EXPECT_EQ(byAddress->model()->rowCount(), 0);
}

TEST_F(WindowFeaturesTest, ChannelPanelPlaysTheBestLineOfAChannelFound) {
  // 湖南卫视 under three spellings: a dead line that failed an hour ago, one
  // never checked and, last in the list, one that played.
  const QString dead = QStringLiteral("http://127.0.0.1:%1/hn.mp3").arg(LocalHttpServer::refusedPort());
  const QString unchecked = server.url("/never.mp3");
  const QString good = server.url("/media/long.mp3");
  // The list names the channel's logo on one of its lines.
  server.addFile("/hn.png", pngBytes({48, 48}, Qt::darkRed), "image/png");
  ASSERT_TRUE(textfile::writeLines(
      f.path("tv_lib_ss_jg.txt"),
      {"湖南卫视," + dead + ",卫视频道,",
       playlists::stationFileLine({"湖南衛視 HD", unchecked, "卫视频道", {{}, {}, server.url("/hn.png"), {}}}),
       "湖南卫视 高清," + good + ",卫视频道,", "CCTV-5 体育,http://127.0.0.1:9/5.mp3,央视频道,",
       "CCTV 5,http://127.0.0.1:9/5b.mp3,央视频道,"}));
  {
    history::HealthDb db;
    ASSERT_TRUE(db.open(dir.path()).ok);
    const QDateTime now = QDateTime::currentDateTimeUtc();
    history::LineVerdict played = verdictOf(good, history::outcome::kPlaying, now.addSecs(-7200));
    played.width = 1280;
    played.height = 720;
    played.firstFrameMs = 800;
    ASSERT_TRUE(db.recordMany({played, verdictOf(dead, history::outcome::kFailed, now.addSecs(-3600))}).ok);
  }
  start({"电台,http://127.0.0.1:9/r.mp3,"});
  const int narrow = window().width();

  QTest::keyClick(focus(), Qt::Key_F4);
  ASSERT_TRUE(window().isChannelPanelOpen());
  EXPECT_TRUE(waitUntil([&] { return window().width() > narrow; }, 3000));
  auto* search = widget<QLineEdit>("channelSearch");
  auto* tree = widget<QTreeView>("channelTree");
  EXPECT_TRUE(search->hasFocus());
  ASSERT_TRUE(waitUntil([&] { return tree->model()->rowCount() == 3; }, 10000));

  QTest::keyClicks(search, "hnws");
  QAbstractItemModel* model = tree->model();
  ASSERT_EQ(model->rowCount(), 1);
  const QModelIndex channel = model->index(0, 0, model->index(0, 0));
  EXPECT_EQ(model->index(0, 0).data().toString(), QStringLiteral("卫视频道"));
  EXPECT_EQ(channel.data().toString(), QStringLiteral("湖南卫视 · 3 线路"));
  EXPECT_TRUE(waitUntil([&] { return !channel.data(Qt::DecorationRole).value<QIcon>().isNull(); },
                        5000));
  tree->expand(channel);
  EXPECT_EQ(model->index(0, 0, channel).data().toString(),
            QStringLiteral("线路 1 · 可播放 · 1280×720 · 0.8 s"));
  screenshot("channel_panel");

  // Enter plays the channel found first, on its best line.
  QTest::keyClick(search, Qt::Key_Return);
  EXPECT_EQ(f.dz1.text(), good);
  EXPECT_EQ(f.tvm.text(), QStringLiteral("湖南卫视 高清"));
  EXPECT_TRUE(waitForState(MediaPlayer::Playing));

  QTest::keyClick(focus(), Qt::Key_F4);
  EXPECT_FALSE(window().isChannelPanelOpen());
  EXPECT_FALSE(widget("channelPanel")->isVisible());
  EXPECT_TRUE(waitUntil([&] { return window().width() == narrow; }, 3000));
}

TEST_F(WindowFeaturesTest, SpacePausesAndContinuesExceptInATextBox) {
  start();
  server.addLive("/live.mp3", MediaFixtures::instance().bytes("live.mp3"), "audio/mpeg", 8000);
  playAddress(server.url("/live.mp3"));
  ASSERT_TRUE(waitForState(MediaPlayer::Playing));

  QTest::keyClick(focus(), Qt::Key_Space);
  EXPECT_EQ(program.mediaPlayer().playState(), MediaPlayer::Paused);
  QTest::keyClick(focus(), Qt::Key_Space);
  EXPECT_EQ(program.mediaPlayer().playState(), MediaPlayer::Playing);

  // A button clicked with the mouse keeps no focus that would eat Space.
  // "Next station" on an empty list plays nothing else.
  QSignalSpy nextClicks(&f.Command5, &Control::clicked);
  QTest::mouseClick(widget("Command5"), Qt::LeftButton);
  ASSERT_EQ(nextClicks.size(), 1);
  EXPECT_NE(focus(), widget("Command5"));
  QTest::keyClick(focus(), Qt::Key_Space);
  EXPECT_EQ(program.mediaPlayer().playState(), MediaPlayer::Paused);
  EXPECT_EQ(nextClicks.size(), 1);
  QTest::keyClick(focus(), Qt::Key_Space);

  // M mutes; the wheel over the picture sets the volume.
  auto* bar = window().findChild<MediaControlBar*>();
  QTest::keyClick(focus(), Qt::Key_M);
  EXPECT_TRUE(bar->findChild<QToolButton*>("mute")->isChecked());
  auto* volume = bar->findChild<QSlider*>("volume");
  const int loud = volume->value();
  PictureArea* area = mediaPicture(window());
  QWheelEvent wheel(QPointF(20, 20), area->mapToGlobal(QPointF(20, 20)), {}, QPoint(0, -120),
                    Qt::NoButton, Qt::NoModifier, Qt::NoScrollPhase, false);
  QApplication::sendEvent(area, &wheel);
  EXPECT_EQ(volume->value(), loud - 5);

  // In the name box Space is a space.
  auto* names = widget<QComboBox>("tvm");
  QTest::keyClick(focus(), Qt::Key_F, Qt::ControlModifier);
  EXPECT_TRUE(names->hasFocus());
  QTest::keyClicks(names->lineEdit(), "a b");
  EXPECT_EQ(f.tvm.text(), QStringLiteral("a b"));
  EXPECT_EQ(program.mediaPlayer().playState(), MediaPlayer::Playing);
}

TEST_F(WindowFeaturesTest, FullScreenByKeysAndDoubleClick) {
  start();
  const QString video = makeVideo(dir.path());
  ASSERT_FALSE(video.isEmpty());
  f.tvm.setText(QStringLiteral("测试图像"));
  playAddress(video);
  ASSERT_TRUE(waitUntil([&] { return !mediaPicture(window())->covered(); }, 10000));
  // The bar under the picture counts the clip's time.
  auto* elapsed = widget<QLabel>("elapsed");
  EXPECT_TRUE(waitUntil([&] { return elapsed->text() >= QStringLiteral("00:02"); }, 5000));
  EXPECT_EQ(widget<QLabel>("total")->text(), QStringLiteral("00:20"));
  screenshot("video_playing");
  // The user's own size, larger than the design's, comes back after full screen.
  const QSize normal = window().size() + QSize(120, 80);
  window().resize(normal);
  ASSERT_TRUE(waitUntil([&] { return window().size() == normal; }, 3000));
  QWidget* media = widget("WindowsMediaPlayer1");
  auto* bar = window().findChild<MediaControlBar*>();

  QTest::keyClick(focus(), Qt::Key_F11);
  ASSERT_TRUE(window().isVideoFullScreen());
  ASSERT_TRUE(waitUntil([&] { return window().size() != normal; }, 3000));
  EXPECT_TRUE(window().windowState() & Qt::WindowFullScreen);
  EXPECT_EQ(media->geometry(), window().rect());
  EXPECT_FALSE(bar->isVisible());
  // The bar shows while the mouse moves and goes 2 s later.
  QTest::mouseMove(mediaPicture(window()), QPoint(50, 50));
  QTest::mouseMove(mediaPicture(window()), QPoint(60, 60));
  EXPECT_TRUE(waitUntil([&] { return bar->isVisible(); }, 1000));
  screenshot("full_screen");
  EXPECT_TRUE(waitUntil([&] { return !bar->isVisible(); }, 4000));

  QTest::keyClick(focus(), Qt::Key_Escape);
  EXPECT_FALSE(window().isVideoFullScreen());
  EXPECT_TRUE(waitUntil([&] { return window().size() == normal; }, 3000));
  EXPECT_TRUE(bar->isVisible());
  EXPECT_NE(media->geometry(), window().rect());

  QTest::mouseDClick(mediaPicture(window()), Qt::LeftButton);
  EXPECT_TRUE(window().isVideoFullScreen());
  QTest::mouseDClick(mediaPicture(window()), Qt::LeftButton);
  EXPECT_FALSE(window().isVideoFullScreen());
}

TEST_F(WindowFeaturesTest, RefusedStationShowsWhyUntilTheNextPlay) {
  start();
  PictureArea* area = mediaPicture(window());
  playAddress(QStringLiteral("http://127.0.0.1:%1/tv.mp3").arg(LocalHttpServer::refusedPort()));
  ASSERT_TRUE(waitUntil([&] { return area->statusText().startsWith("无法播放："); }, 8000))
      << area->statusText().toStdString();
  EXPECT_EQ(area->statusText(), "无法播放：" + describeFailure(LoadFailure::Unreachable));
  EXPECT_TRUE(area->covered());
  screenshot("failure_overlay");

  server.addHanging("/slow.mp3");
  playAddress(server.url("/slow.mp3"));
  EXPECT_EQ(area->statusText(), QStringLiteral("正在连接…"));
}


TEST_F(WindowFeaturesTest, SoundAfterVideoShowsNoStaleFrame) {
  start();
  const QString video = makeVideo(dir.path());
  ASSERT_FALSE(video.isEmpty());
  PictureArea* area = mediaPicture(window());
  playAddress(video);
  ASSERT_TRUE(waitUntil([&] { return !area->covered(); }, 10000));

  f.tvm.setText(QStringLiteral("音乐台"));
  playAddress(server.url("/media/long.mp3"));
  ASSERT_TRUE(waitForState(MediaPlayer::Playing));
  runEventsFor(500);
  EXPECT_TRUE(area->covered());
  EXPECT_EQ(area->findChild<QLabel*>("stationName")->text(), QStringLiteral("音乐台"));
  // The corner of the area is the dark cover, not a test picture's colour.
  const QImage shot = area->grab().toImage();
  EXPECT_EQ(shot.pixelColor(5, 5), QColor(16, 16, 16));
}

// Runs action and waits for the message box it brings up; its text, and the
// box is closed.
QString messageAfter(const std::function<void()>& action) {
  QString text;
  QTimer poll;
  poll.setInterval(20);
  QObject::connect(&poll, &QTimer::timeout, [&text] {
    if (auto* box = qobject_cast<QMessageBox*>(QApplication::activeModalWidget())) {
      text = box->text();
      box->accept();
    }
  });
  poll.start();
  action();
  waitUntil([&text] { return !text.isEmpty(); }, 5000);
  return text;
}

TEST_F(WindowFeaturesTest, DroppingAnM3uImportsItsStations) {
  ASSERT_TRUE(textfile::writeLines(f.path("tv_lib_ss_jg.txt"), {"老台,http://127.0.0.1:9/old.mp3,"}));
  start();
  const QString m3u = dir.filePath("drop.m3u");
  ASSERT_TRUE(textfile::writeLines(m3u, {"#EXTM3U", "#EXTINF:-1,新台一", "http://127.0.0.1:9/a.mp3",
                                         "#EXTINF:-1,老台", "http://127.0.0.1:9/old.mp3",
                                         "#EXTINF:-1,老台",
                                         "#EXTVLCOPT:http-referrer=http://127.0.0.1:9/page",
                                         "http://127.0.0.1:9/old.mp3"}));
  QMimeData data;
  data.setUrls({QUrl::fromLocalFile(m3u)});
  // Dropped on the name box, whose own drop would only paste the path.
  QWidget* target = widget<QComboBox>("tvm")->lineEdit();
  const QPoint at = target->rect().center();
  QDragEnterEvent enter(at, Qt::CopyAction, &data, Qt::LeftButton, Qt::NoModifier);
  QApplication::sendEvent(target, &enter);
  ASSERT_TRUE(enter.isAccepted());
  QDropEvent drop(at, Qt::CopyAction, &data, Qt::LeftButton, Qt::NoModifier);
  const QString said = messageAfter([&] { QApplication::sendEvent(target, &drop); });

  EXPECT_EQ(said, QStringLiteral("导入 1 个电台，1 个已在列表中，1 个已有电台补上请求头。"));
  EXPECT_TRUE(fileLines("tv_lib_ss_jg.txt").contains("新台一,http://127.0.0.1:9/a.mp3,"));
  const QString withReferer = "http://127.0.0.1:9/old.mp3|Referer=http://127.0.0.1:9/page";
  EXPECT_TRUE(fileLines("tv_lib_ss_jg.txt").contains("老台," + withReferer + ","));
  EXPECT_GE(f.tvm.indexOf(QStringLiteral("新台一")), 0);
  EXPECT_TRUE(waitUntil([&] { return f.dz1.items().contains(withReferer); }, 5000));
  EXPECT_TRUE(f.tvm.text().isEmpty() || !f.tvm.text().contains("drop.m3u"));
}


TEST_F(WindowFeaturesTest, QuickTestListsEachVerdictAndKeepsThoseThatPlay) {
  server.addStatus("/gone.mp3", 404);
  // Served only to the User-Agent the settings file names.
  ASSERT_TRUE(textfile::writeLines(f.path(useragent::kSettingsFile),
                                   {"[network]", "user-agent=Box/2.0 (X11, like Gecko)"}));
  server.addLocked("/agent.mp3", MediaFixtures::instance().bytes("live.mp3"), "audio/mpeg",
                   "User-Agent", "Box/2.0 (X11, like Gecko)");
  start({"好台," + server.url("/media/long.mp3") + ",",
         QStringLiteral("拒绝台,http://127.0.0.1:%1/x.mp3,").arg(LocalHttpServer::refusedPort()),
         "无此台," + server.url("/gone.mp3") + ",", "认头台," + server.url("/agent.mp3") + ","});

  // The right-click menu of the name box.
  QLineEdit* names = widget<QComboBox>("tvm")->lineEdit();
  QContextMenuEvent menuEvent(QContextMenuEvent::Mouse, names->rect().center(),
                              names->mapToGlobal(names->rect().center()));
  QApplication::sendEvent(names, &menuEvent);
  QMenu* menu = nullptr;
  ASSERT_TRUE(waitUntil([&] { return (menu = qobject_cast<QMenu*>(QApplication::activePopupWidget())); }, 2000));
  QAction* quickTest = nullptr;
  for (QAction* a : menu->actions())
    if (a->text() == QStringLiteral("快速测试全部")) quickTest = a;
  ASSERT_NE(quickTest, nullptr);
  QTest::mouseClick(menu, Qt::LeftButton, {}, menu->actionGeometry(quickTest).center());

  auto* table = anyWidget<QTableWidget>("quickTestVerdicts");
  ASSERT_NE(table, nullptr);
  ASSERT_EQ(table->rowCount(), 4);
  const auto verdict = [table](int row) { return table->item(row, 1)->text(); };
  ASSERT_TRUE(waitUntil([&] {
    for (int row = 0; row < 4; ++row)
      if (verdict(row) == "等待") return false;
    return true;
  }, 20000));
  EXPECT_EQ(verdict(0), QStringLiteral("可以播放"));
  EXPECT_EQ(verdict(3), QStringLiteral("可以播放")) << table->item(3, 2)->text().toStdString();
  EXPECT_EQ(verdict(1), QStringLiteral("失败"));
  EXPECT_EQ(table->item(1, 2)->text(), check::outcomeText(check::Outcome::Refused));
  EXPECT_EQ(table->item(2, 2)->text(), check::outcomeText(check::Outcome::NotFound));
  EXPECT_TRUE(fileLines("tv_lib_ss_jg.txt").contains("好台," + server.url("/media/long.mp3") + ","));
  screenshot("quick_test");
  table->window()->close();
}

}  // namespace
