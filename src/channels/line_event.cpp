#include "channels/line_event.h"

#include "form/play_outcome.h"

namespace channels {

namespace {

QString flagText(MediaFlag flag) {
  switch (flag) {
    case MediaFlag::Black: return QStringLiteral("黑屏");
    case MediaFlag::Silent: return QStringLiteral("无声");
    case MediaFlag::Frozen: return QStringLiteral("画面静止");
  }
  return {};
}

QString seconds(qint64 ms) { return QString::number(qRound(ms / 100.0) / 10.0); }

// The reason as the window tells it; what was flagged by name.
QString reasonShort(const LineEvent& e) {
  const auto outcome = check::outcomeOfKey(e.reason);
  if (outcome == check::Outcome::Flagged) return flagText(e.flag);
  return outcome ? check::failureText(*outcome) : e.reason;
}

}  // namespace

QString lineLabel(int number, int lines) {
  return QStringLiteral("线路 %1/%2").arg(number).arg(lines);
}

QString flagWord(MediaFlag flag) {
  switch (flag) {
    case MediaFlag::Black: return QStringLiteral("black");
    case MediaFlag::Silent: return QStringLiteral("silent");
    case MediaFlag::Frozen: return QStringLiteral("frozen");
  }
  return {};
}

QString kindWord(LineEvent::Kind kind) {
  using Kind = LineEvent::Kind;
  switch (kind) {
    case Kind::Chosen: return QStringLiteral("chosen");
    case Kind::Started: return QStringLiteral("started");
    case Kind::Stalled: return QStringLiteral("stalled");
    case Kind::Flagged: return QStringLiteral("flagged");
    case Kind::Failed: return QStringLiteral("failed");
    case Kind::Switched: return QStringLiteral("switched");
    case Kind::Refreshed: return QStringLiteral("refreshed");
    case Kind::GaveUp: return QStringLiteral("gave_up");
  }
  return {};
}

QString describe(const LineEvent& e) {
  const QString line = lineLabel(e.number, e.lines);
  using Kind = LineEvent::Kind;
  switch (e.kind) {
    case Kind::Chosen:
      return e.byHand ? QStringLiteral("%1（手动选择，不再自动切换）").arg(line) : line;
    case Kind::Started: return QStringLiteral("%1 开始播放").arg(line);
    case Kind::Stalled: return QStringLiteral("%1 卡住 %2 秒").arg(line, seconds(e.ms));
    case Kind::Flagged:
      return QStringLiteral("%1 %2 %3 秒").arg(line, flagText(e.flag), seconds(e.ms));
    case Kind::Failed:
      return QStringLiteral("%1 无法播放：%2").arg(line, reasonShort(e));
    case Kind::Switched:
      return QStringLiteral("%1 无法播放：%2，切换到%3…")
          .arg(lineLabel(e.from, e.lines), reasonShort(e), line);
    case Kind::Refreshed: return QStringLiteral("%1 的地址已从网页刷新").arg(line);
    case Kind::GaveUp:
      return QStringLiteral("全部 %1 条线路都无法播放，已停止").arg(e.lines);
  }
  return line;
}

}  // namespace channels
