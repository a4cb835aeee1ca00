#include "gui/view_tooltips.h"

#include <QHash>

QString viewToolTip(const QString& controlName) {
  static const QHash<QString, QString> tips{
      {QStringLiteral("Command2"), QStringLiteral("播放所选电台")},
      {QStringLiteral("Command14"), QStringLiteral("暂停或继续播放（空格键）")},
      {QStringLiteral("Command9"), QStringLiteral("停止播放和搜索")},
      {QStringLiteral("Command4"), QStringLiteral("上一个电台（Page Up）")},
      {QStringLiteral("Command5"), QStringLiteral("下一个电台（Page Down）")},
      {QStringLiteral("Command18"), QStringLiteral("打开媒体文件并播放（Ctrl+O）")},
      {QStringLiteral("Command16"), QStringLiteral("在电台库与搜索结果之间切换")},
      // The duration is compared as text, "MM:SS" against the number, so
      // the number counts minutes.
      {QStringLiteral("Check3"), QStringLiteral("勾选：时长短于右框分钟数的媒体（含直播）不播放")},
      {QStringLiteral("Combo1"), QStringLiteral("最短时长，单位：分钟")},
      {QStringLiteral("Label1"), QStringLiteral("媒体时长与搜索进度；单击切换视图")},
      {QStringLiteral("Label3"), QStringLiteral("已播放时间；单击切换视图")},
      {QStringLiteral("Frame1"), QStringLiteral("单击切换视图")},
      {QStringLiteral("List3"), QStringLiteral("搜索记录；选择一项从该处重新搜索")},
      {QStringLiteral("WindowsMediaPlayer1"),
       QStringLiteral("双击或按 F 全屏；滚轮调节音量；方向键调节音量与进度")},
      {QStringLiteral("RealAudio1"), QStringLiteral("双击或按 F 全屏")},
  };
  return tips.value(controlName);
}
