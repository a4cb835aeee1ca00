#include "form/form.h"

#include <QDir>

#include "form/marker_texts.h"

Form::Form(Host& host_, MediaPlayer& mediaPlayer, RealPlayer& realPlayer, WebBrowser& browser,
           const QString& programDir_)
    : host(host_),
      programDir(programDir_),
      WindowsMediaPlayer1("WindowsMediaPlayer1", mediaPlayer),
      RealAudio1("RealAudio1", realPlayer),
      WebBrowser1("WebBrowser1", browser) {
  setDesignTimeState();
}

QString Form::path(const QString& fileName) const { return QDir(programDir).filePath(fileName); }

history::HealthDb& Form::healthHistory() {
  if (!health.isOpen() && !healthOpened) {
    healthOpened = true;
    (void)health.open(programDir);
  }
  return health;
}

void Form::setDesignTimeState() {
  form1.setGeometry(0, 0, kCompactWidth, kCompactHeight);
  form1.setVisible(false);

  WindowsMediaPlayer1.setGeometry(0, 0, kPlayingWidth, 4680);
  RealAudio1.setGeometry(0, 0, kPlayingWidth, 4680);
  RealAudio1.setCaption(QStringLiteral("imagewindow"));
  WebBrowser1.setGeometry(0, 0, kPlayingWidth, 6135);

  Frame1.setGeometry(-120, 4680, 8655, 3135);
  Label1.setGeometry(480, 120, 2895, 255);
  Label3.setGeometry(3720, 120, 4815, 255);
  Command18.setGeometry(4875, 345, 375, 330);
  Command18.setCaption(QStringLiteral(">"));
  Command17.setGeometry(5340, 330, 1215, 375);
  Command17.setCaption(QStringLiteral("网上搜索"));
  Command17.setToolTip(QStringLiteral("在网络上搜索电视、电影、音乐等所有媒体文件，包括加密网页"));
  Command16.setGeometry(6615, 330, 735, 375);
  Command16.setCaption(QStringLiteral("缺省"));
  Check2.setGeometry(7470, 390, 255, 255);
  Check2.setToolTip(QStringLiteral("√:表示手动； 无：表示自动搜索或自动播放下一首"));
  Check3.setGeometry(6375, 1440, 735, 300);
  Check3.setCaption(QStringLiteral("时间"));
  Combo1.setGeometry(7170, 1440, 855, 300);
  Combo1.setText(QStringLiteral("20"));

  tvm.setGeometry(240, 5040, 4455, 300);
  tvm.setToolTip(QStringLiteral("在此输入电视台名、歌名或输入网址搜索媒体文件"));
  dz1.setGeometry(240, 6120, 5895, 300);
  dz1.setToolTip(QStringLiteral("在此输入与电视台名、歌名对应的网址"));

  const struct {
    Button& button;
    const char16_t* caption;
    const char16_t* toolTip;
  } row[] = {
      {Command2, u"播放", u""},
      {Command14, u"暂停", u""},
      {Command9, u"停止", u""},
      {Command4, u"向上", u""},
      {Command5, u"向下", u""},
      {Command12, u"删除", u"从列表中删除电视台地址"},
      {Command10, u"搜台", u"搜索目前正在播放的电视台"},
      {Command3, u"增加", u"数据库中总台数"},
  };
  int x = 240;
  for (const auto& b : row) {
    b.button.setGeometry(x, 5520, 735, 375);
    b.button.setCaption(QString::fromUtf16(b.caption));
    b.button.setToolTip(QString::fromUtf16(b.toolTip));
    x += 840;
  }
  Command14.setEnabled(false);
  Command3.setVisible(false);

  Text1.setGeometry(0, 6480, 8295, 1215);
  Text1.setToolTip(QStringLiteral("显示当前播放媒体的网址"));
  l.setGeometry(120, 7920, 7095, 375);
  l.setCaption(QStringLiteral("status"));
  Label2.setGeometry(8760, 120, 5175, 255);
  Label2.setCaption(QStringLiteral("如未搜索完毕就停止，请在下框中选择重新搜索位置"));
  Label4.setGeometry(8760, 360, 5175, 255);
  List3.setGeometry(8760, 600, 5175, 5280);

  for (Control* hidden : {static_cast<Control*>(&Text2), static_cast<Control*>(&Text3),
                          static_cast<Control*>(&Text4), static_cast<Control*>(&Text5),
                          static_cast<Control*>(&Text6), static_cast<Control*>(&Text7),
                          static_cast<Control*>(&List1), static_cast<Control*>(&List2),
                          static_cast<Control*>(&tvmx), static_cast<Control*>(&Check1)})
    hidden->setVisible(false);
  const MarkerTexts markers;
  Text3.setText(markers.mediaTypes);
  Text3.setToolTip(QStringLiteral("在此输入搜索媒体文件类型"));
  Text4.setText(markers.starts);
  Text4.setToolTip(QStringLiteral("在此输入协议"));
  Text5.setText(markers.ends);
  Text5.setToolTip(QStringLiteral("在此输入网址结束标志"));
  Text6.setText(markers.dynamic);
  Text7.setText(markers.outside);
  Check1.setCaption(QStringLiteral("Check1"));
}

bool Form::yield() {
  host.yield();
  return !terminated;
}

void Form::startTimers() {
  for (Timer* t : {&Timer5, &Timer8, &Timer9, &Timer10}) host.attachTimer(*t);
}
