#include <QApplication>
#include <QCheckBox>
#include <QComboBox>
#include <QDialog>
#include <QLabel>
#include <QLineEdit>
#include <QListView>
#include <QMessageBox>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QTimer>
#include <csignal>

#include "plain_build.h"
#include "playback/popup_check.h"
#include "app/startup.h"
#include "app/wiring.h"
#include "base/text_file.h"
#include "form_fixture.h"
#include "gui/gui_host.h"
#include "gui/main_window.h"
#include "gui/termination_signals.h"
#include "event_loop_wait.h"
#include "thread_cpu_time.h"
#include "user_input.h"

namespace {

using userinput::click;
using userinput::key;
using userinput::type;

class MainWindowTest : public FormTest {
 protected:
  MainWindowTest()
      : window(f, {new QWidget, new QWidget, new QWidget}),
        scale(TwipsScale::forScreen(window.screen())) {}

  template <class W = QWidget>
  W* widget(const char* name) {
    W* w = window.findChild<W*>(QString::fromLatin1(name));
    EXPECT_NE(w, nullptr) << name;
    return w;
  }
  QRect pixels(int left, int top, int width, int height) const {
    Control c;
    c.setGeometry(left, top, width, height);
    return scale.toPixels(c);
  }
  QSize windowPixels(int width, int height) const {
    return {scale.toPixels(width), scale.toPixels(height)};
  }

  MainWindow window;
  TwipsScale scale;
};

TEST_F(MainWindowTest, ShowsTheControlsWithTheirTextsAtTheirPlaces) {
  app::Form_Load(f);

  EXPECT_TRUE(window.isVisible());
  EXPECT_EQ(window.windowTitle(), QStringLiteral("Orvanel网络电视-全新版 ver 5.5"));
  EXPECT_EQ(window.size(), windowPixels(8500, 6500));

  const QStringList row{"播放", "暂停", "停止", "向上", "向下", "删除", "搜台", "0"};
  const char* rowNames[] = {"Command2", "Command14", "Command9", "Command4",
                            "Command5", "Command12", "Command10", "Command3"};
  for (int i = 0; i < row.size(); ++i) {
    auto* button = widget<QPushButton>(rowNames[i]);
    EXPECT_EQ(button->text(), row[i]);
    EXPECT_EQ(button->geometry(), pixels(240 + 840 * i, 5520, 735, 375)) << rowNames[i];
    EXPECT_TRUE(button->isVisible()) << rowNames[i];
  }
  EXPECT_FALSE(widget("Command14")->isEnabled());
  EXPECT_EQ(widget("Command12")->toolTip(), QStringLiteral("从列表中删除电视台地址"));
  EXPECT_EQ(widget("Command10")->toolTip(), QStringLiteral("搜索目前正在播放的电视台"));

  QWidget* frame = widget("Frame1");
  EXPECT_EQ(frame->geometry(), pixels(-120, 4680, 8655, 3135));
  EXPECT_EQ(widget<QPushButton>("Command17")->text(), QStringLiteral("网上搜索"));
  EXPECT_EQ(widget("Command17")->toolTip(),
            QStringLiteral("在网络上搜索电视、电影、音乐等所有媒体文件，包括加密网页"));
  EXPECT_EQ(widget("Command17")->parentWidget(), frame);
  EXPECT_EQ(widget<QPushButton>("Command18")->text(), QStringLiteral(">"));
  EXPECT_EQ(widget<QPushButton>("Command16")->text(), QStringLiteral("缺省"));
  EXPECT_EQ(widget("Check2")->toolTip(),
            QStringLiteral("√:表示手动； 无：表示自动搜索或自动播放下一首"));
  EXPECT_EQ(widget<QCheckBox>("Check3")->text(), QStringLiteral("时间"));
  EXPECT_EQ(widget<QComboBox>("Combo1")->currentText(), QStringLiteral("20"));
  EXPECT_EQ(widget("Label3")->geometry(), pixels(3720, 120, 4815, 255));

  EXPECT_EQ(widget("tvm")->geometry(), pixels(240, 5040, 4455, 300));
  EXPECT_EQ(widget("tvm")->toolTip(), QStringLiteral("在此输入电视台名、歌名或输入网址搜索媒体文件"));
  EXPECT_EQ(widget("dz1")->toolTip(), QStringLiteral("在此输入与电视台名、歌名对应的网址"));
  EXPECT_EQ(widget("Text1")->toolTip(), QStringLiteral("显示当前播放媒体的网址"));
  EXPECT_EQ(widget<QLabel>("l")->text(), QStringLiteral("status"));
  EXPECT_EQ(widget<QLabel>("Label2")->text(),
            QStringLiteral("如未搜索完毕就停止，请在下框中选择重新搜索位置"));
  EXPECT_EQ(widget("List3")->geometry(), pixels(8760, 600, 5175, 5280));
  EXPECT_FALSE(widget("WebBrowser1")->isVisible());
}

TEST_F(MainWindowTest, EveryVisibleControlExplainsItself) {
  app::Form_Load(f);
  for (const char* name : {"Command2", "Command14", "Command9", "Command4", "Command5",
                           "Command12", "Command10", "Command3", "Command16", "Command17",
                           "Command18", "Check2", "Check3", "Combo1", "tvm", "dz1", "Text1",
                           "Label1", "Label3", "Frame1", "List3"})
    EXPECT_FALSE(widget(name)->toolTip().isEmpty()) << name;
  // The duration rule compares "MM:SS" with the number: it counts minutes.
  EXPECT_TRUE(widget("Combo1")->toolTip().contains(QStringLiteral("分钟")));
  // A tooltip the procedures set later still wins.
  f.Command3.setToolTip(QStringLiteral("数据库中总台数"));
  EXPECT_EQ(widget("Command3")->toolTip(), QStringLiteral("数据库中总台数"));
  f.Command2.setToolTip(QStringLiteral("新"));
  EXPECT_EQ(widget("Command2")->toolTip(), QStringLiteral("新"));
}

TEST_F(MainWindowTest, ViewSwitchesAndWideningFollowTheModels) {
  app::Form_Load(f);

  // A click on a label inside the panel is not also the panel's click.
  click(widget("Label1"));
  EXPECT_EQ(window.size(), windowPixels(8500, 8000));
  EXPECT_TRUE(widget("l")->isVisible());
  EXPECT_EQ(widget("List3")->height(), scale.toPixels(6800));

  f.form1.setWidth(14505);
  EXPECT_EQ(window.width(), scale.toPixels(14505));
  EXPECT_TRUE(window.rect().contains(widget("List3")->geometry()));

  click(widget("Frame1"));
  EXPECT_EQ(window.size(), windowPixels(8500, 6500));
  EXPECT_FALSE(widget("l")->isVisible());
}

TEST_F(MainWindowTest, ALargerWindowGivesTheMediaAreaTheRoom) {
  app::Form_Load(f);
  const QRect media = widget("WindowsMediaPlayer1")->geometry();
  const QRect names = widget("tvm")->geometry();
  window.resize(window.size() + QSize(200, 100));
  EXPECT_EQ(widget("WindowsMediaPlayer1")->geometry(), media.adjusted(0, 0, 200, 100));
  EXPECT_EQ(widget("tvm")->geometry(), names.translated(0, 100));

  // A size the procedures set is the size the window switches to.
  click(widget("Label1"));
  EXPECT_EQ(window.size(), windowPixels(8500, 8000));
  EXPECT_EQ(widget("WindowsMediaPlayer1")->geometry(), media);
}

TEST_F(MainWindowTest, TheChannelPanelOpensBesideTheControls) {
  app::Form_Load(f);
  const QSize closed = window.size();
  const QRect media = widget("WindowsMediaPlayer1")->geometry();
  EXPECT_FALSE(window.isChannelPanelOpen());
  EXPECT_FALSE(widget("channelPanel")->isVisible());
  // The button sits in the margin left of the name box.
  QWidget* button = widget("channelsButton");
  EXPECT_EQ(button->geometry().right() + 1, widget("tvm")->geometry().left());
  EXPECT_EQ(button->geometry().top(), widget("tvm")->geometry().top());

  click(button);
  ASSERT_TRUE(window.isChannelPanelOpen());
  QWidget* panel = widget("channelPanel");
  EXPECT_TRUE(panel->isVisible());
  EXPECT_EQ(window.height(), closed.height());
  EXPECT_GT(window.width(), closed.width());
  EXPECT_EQ(panel->geometry(), QRect(closed.width(), 0, window.width() - closed.width(), closed.height()));
  EXPECT_EQ(widget("WindowsMediaPlayer1")->geometry(), media);

  // A size the procedures set keeps the panel beside it.
  click(widget("Label1"));
  EXPECT_EQ(window.size(), windowPixels(8500, 8000) + QSize(panel->width(), 0));
  EXPECT_EQ(panel->height(), window.height());
  click(widget("Frame1"));

  click(button);
  EXPECT_FALSE(window.isChannelPanelOpen());
  EXPECT_FALSE(panel->isVisible());
  EXPECT_EQ(window.size(), closed);
}

TEST_F(MainWindowTest, UserActionsReachTheHandlers) {
  writeLines("tv_lib.txt", {"Alpha,http://a/1,", "Beta,http://b/2,", "Gamma,http://c/3,"});
  app::Form_Load(f);
  auto* names = widget<QComboBox>("tvm");
  auto* addresses = widget<QComboBox>("dz1");
  ASSERT_EQ(names->count(), 3);
  EXPECT_EQ(names->currentText(), QStringLiteral("Alpha"));
  takeLog();

  // Typing a name in any letter case, then Enter, plays its entry.
  names->lineEdit()->clear();
  type(names, QStringLiteral("beta"));
  EXPECT_EQ(f.tvm.text(), QStringLiteral("beta"));
  key(names, Qt::Key_Return);
  EXPECT_TRUE(takeLog().contains(QStringLiteral("wmp.URL=http://b/2")));
  EXPECT_EQ(names->currentText(), QStringLiteral("Beta"));
  EXPECT_EQ(names->count(), 3);  // Enter inserts nothing into the list

  // Choosing the next address with the keyboard clicks the address list.
  key(addresses, Qt::Key_Down);
  EXPECT_EQ(f.dz1.listIndex(), 2);
  EXPECT_TRUE(takeLog().contains(QStringLiteral("wmp.URL=http://c/3")));
  EXPECT_EQ(names->currentText(), QStringLiteral("Gamma"));
  EXPECT_EQ(widget<QPushButton>("Command3")->text(), QStringLiteral("2"));

  QList<int> codes;
  QObject::connect(&f.Command10, &Control::keyPressed, [&codes](int code) { codes << code; });
  // F11 is the window's full-screen key; F12 is nobody's.
  key(widget("Command10"), Qt::Key_F12);
  key(widget("Command10"), Qt::Key_Return);
  EXPECT_EQ(codes, (QList<int>{123, 13}));

  click(widget("Check2"));
  EXPECT_TRUE(f.Check2.checked());
  EXPECT_TRUE(widget<QCheckBox>("Check2")->isChecked());
}

TEST_F(MainWindowTest, AddressRecordKeepsItsLineEnds) {
  app::Form_Load(f);
  auto* record = widget<QPlainTextEdit>("Text1");
  f.Text1.setText(QStringLiteral("mms://a\r\nmms://b"));
  EXPECT_EQ(record->toPlainText(), QStringLiteral("mms://a\nmms://b"));

  record->moveCursor(QTextCursor::End);
  type(record, QStringLiteral("c"));
  EXPECT_EQ(f.Text1.text(), QStringLiteral("mms://a\r\nmms://bc"));
}

TEST_F(MainWindowTest, LongListsStayFast) {
  app::Form_Load(f);
  auto* names = widget<QComboBox>("tvm");
  auto* log = widget<QListView>("List3");
  constexpr int kItems = 100000;
  const qint64 fillMs = msToRun([&] {
    for (int i = 0; i < kItems; ++i) {
      f.tvm.addItem(QString::number(i));
      f.List3.addItem(QString::number(i));
    }
    QApplication::processEvents();
  });
  // About 0.4 s of the UI thread; a fill that grew with the square of the
  // count would take minutes.
  EXPECT_LT(fillMs, 1000);
  EXPECT_EQ(names->count(), kItems);
  EXPECT_EQ(names->itemText(kItems - 1), QString::number(kItems - 1));
  EXPECT_EQ(log->model()->rowCount(), kItems);

  // Opening the drop-down measures only the rows it shows.
  const qint64 popupMs = msToRun([&] {
    names->showPopup();
    QApplication::processEvents();
  });
  EXPECT_LT(popupMs, 50);
  names->hidePopup();

  f.tvm.removeItem(0);
  EXPECT_EQ(names->itemText(0), QStringLiteral("1"));
  f.tvm.setText(QStringLiteral("500"));
  EXPECT_EQ(names->currentIndex(), 499);
  f.tvm.clear();
  EXPECT_EQ(names->count(), 0);
  EXPECT_EQ(names->currentText(), QString());
  RecordProperty("fill_cpu_ms", static_cast<int>(fillMs));
  RecordProperty("popup_cpu_ms", static_cast<int>(popupMs));
}

TEST_F(MainWindowTest, ClosingSavesMarkerListsAndPositions) {
  writeLines("tv_lib.txt", {"Alpha,http://a/1,", "Beta,http://b/2,"});
  app::Form_Load(f);
  key(widget("dz1"), Qt::Key_Down);  // plays Beta
  f.Text3.setText(QStringLiteral(".mp3-.wma"));
  window.close();

  EXPECT_FALSE(window.isVisible());
  EXPECT_TRUE(f.terminated);
  EXPECT_TRUE(host.quitCalled);
  EXPECT_EQ(readLines("gjz.txt"),
            (QStringList{".mp3-.wma", f.Text4.text(), f.Text5.text()}));
  EXPECT_EQ(readLines("bfwz.dat"), (QStringList{"win", "1"}));
}

// The window on fake engines with the Qt host: real timers and event loop.
class GuiHostTest : public ::testing::Test {
 protected:
  QTemporaryDir dir;
  QStringList log;
  GuiHost host;
  FakeMediaPlayer wmp{log};
  FakeRealPlayer real{log};
  FakeBrowser web{log};
  Form f{host, wmp, real, web, dir.path()};
  MainWindow window{f, {new QWidget, new QWidget, new QWidget}};
};

TEST_F(GuiHostTest, StaysResponsiveWhileALongStationFileLoads) {
  constexpr int kLines = 100000;
  QStringList lines;
  for (int i = 0; i < kLines; ++i) lines << QStringLiteral("台%1,mms://127.0.0.1/%1,").arg(i);
  ASSERT_TRUE(textfile::writeLines(f.path(QStringLiteral("tv_lib.txt")), lines));
  app::wire(f);

  // A timer that should tick every 5 ms measures the longest stretch of
  // work between two returns to the event loop.
  const qint64 start = threadCpuMs();
  qint64 last = start;
  qint64 worst = 0;
  QTimer probe;
  probe.setInterval(5);
  QObject::connect(&probe, &QTimer::timeout, [&] {
    worst = qMax(worst, threadCpuMs() - last);
    last = threadCpuMs();
  });
  probe.start();
  app::Form_Load(f);
  const qint64 end = threadCpuMs() - last;

  EXPECT_EQ(window.findChild<QComboBox*>(QStringLiteral("tvm"))->count(), kLines);
  // The load yields after each 10 ms of work; its last stretch writes the
  // scratch file and builds the lookup index of both lists, about 120 ms in
  // all at 100,000 entries.
  EXPECT_BOUND_LT(worst, 50);
  EXPECT_BOUND_LT(end, 200);
  RecordProperty("load_cpu_ms", static_cast<int>(threadCpuMs() - start));
  RecordProperty("worst_stretch_cpu_ms", static_cast<int>(worst));
  RecordProperty("last_stretch_cpu_ms", static_cast<int>(end));
}

TEST(TerminationSignalsTest, SignalsReachTheEventLoop) {
  QList<int> calls;
  {
    TerminationSignals signalled([&calls] { calls << 1; });
    ::raise(SIGTERM);
    ::raise(SIGINT);
    EXPECT_TRUE(waitUntil([&calls] { return calls.size() == 2; }, 2000));
  }
  EXPECT_EQ(calls.size(), 2);
}

TEST_F(GuiHostTest, ClosesOnlyWatchedPopups) {
  QDialog update;
  update.setWindowTitle(QStringLiteral("Player AutoUpdate"));
  update.setModal(true);
  update.show();
  QApplication::processEvents();
  ASSERT_EQ(host.activePopupTitle(), QStringLiteral("Player AutoUpdate"));
  app::ClosePlayerPopup(f);
  EXPECT_FALSE(update.isVisible());

  QDialog settings;
  settings.setWindowTitle(QStringLiteral("设置"));
  settings.setModal(true);
  settings.show();
  QApplication::processEvents();
  app::ClosePlayerPopup(f);
  EXPECT_TRUE(settings.isVisible());
}

TEST_F(GuiHostTest, MessageBoxShowsTextTitleAndIcon) {
  QString text, title;
  QMessageBox::Icon icon = QMessageBox::NoIcon;
  QTimer::singleShot(0, [&] {
    auto* box = qobject_cast<QMessageBox*>(QApplication::activeModalWidget());
    ASSERT_NE(box, nullptr);
    text = box->text();
    title = box->windowTitle();
    icon = box->icon();
    box->accept();
  });
  host.messageBox(QStringLiteral("搜索完毕！"), QStringLiteral("搜索"), MessageIcon::Stop);
  EXPECT_EQ(text, QStringLiteral("搜索完毕！"));
  EXPECT_EQ(title, QStringLiteral("搜索"));
  EXPECT_EQ(icon, QMessageBox::Critical);
}

}  // namespace
