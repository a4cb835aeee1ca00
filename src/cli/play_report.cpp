#include "cli/play_report.h"

namespace cli {

using Kind = channels::LineEvent::Kind;

QString eventLine(const channels::LineEvent& e) {
  const QString text = channels::describe(e);
  if (e.kind == Kind::GaveUp || e.address.isEmpty()) return text;
  return text + QStringLiteral("  ") + e.address;
}

QJsonObject eventJson(const channels::LineEvent& e) {
  QJsonObject o{{QStringLiteral("event"), channels::kindWord(e.kind)},
                {QStringLiteral("line"), e.number},
                {QStringLiteral("lines"), e.lines},
                {QStringLiteral("address"), e.address}};
  if (!e.reason.isEmpty()) o.insert(QStringLiteral("reason"), e.reason);
  if (e.httpStatus > 0) o.insert(QStringLiteral("http_status"), e.httpStatus);
  if (e.kind == Kind::Flagged) o.insert(QStringLiteral("flag"), channels::flagWord(e.flag));
  if (e.kind == Kind::Stalled || e.kind == Kind::Flagged)
    o.insert(QStringLiteral("seconds"), e.ms / 1000.0);
  if (e.kind == Kind::Switched) o.insert(QStringLiteral("from"), e.from);
  if (e.kind == Kind::Refreshed) o.insert(QStringLiteral("previous_address"), e.previousAddress);
  if (e.byHand) o.insert(QStringLiteral("by_hand"), true);
  return o;
}

}  // namespace cli
