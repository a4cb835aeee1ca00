#include "channels/channel_titles.h"

#include <QStringList>

namespace channels {

namespace {

const QString kSeparator = QStringLiteral(" · ");

// What the last check of a line that played measured.
QStringList playedFigures(const TreeLine& line) {
  const LineRecord& r = line.record;
  QStringList figures{QStringLiteral("可播放")};
  if (r.width > 0 && r.height > 0) figures << QStringLiteral("%1×%2").arg(r.width).arg(r.height);
  if (r.firstFrameMs > 0) figures << QStringLiteral("%1 s").arg(r.firstFrameMs / 1000.0, 0, 'f', 1);
  if (r.bitrate > 0 && r.downloadBps > 0 && r.downloadBps < r.bitrate)
    figures << QStringLiteral("下载慢于码率");
  if (line.last.silent) figures << QStringLiteral("无声");
  if (line.last.black) figures << QStringLiteral("黑屏");
  if (line.last.frozen) figures << QStringLiteral("画面静止");
  return figures;
}

QStringList failedFigures(const history::LineVerdict& last) {
  QStringList figures{QStringLiteral("失败")};
  if (last.httpStatus > 0) figures << QStringLiteral("HTTP %1").arg(last.httpStatus);
  return figures;
}

}  // namespace

QString groupTitle(const TreeGroup& group) {
  return group.name.isEmpty() ? QStringLiteral("未分组") : group.name;
}

QString channelTitle(const TreeChannel& channel) {
  return channel.name + kSeparator + QStringLiteral("%1 线路").arg(channel.lines.size());
}

QString lineTitle(const TreeLine& line, int number) {
  QStringList parts{QStringLiteral("线路 %1").arg(number)};
  if (line.record.lastPlayed) {
    parts << playedFigures(line);
  } else if (line.record.checked) {
    parts << failedFigures(line.last);
  } else {
    parts << QStringLiteral("未检测");
  }
  return parts.join(kSeparator);
}

}  // namespace channels
