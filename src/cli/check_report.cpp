#include "cli/check_report.h"

#include <QJsonArray>
#include <QJsonDocument>

#include "cli/console.h"
#include "history/line_key.h"

namespace cli {

namespace {

constexpr int kBarWidth = 30;
constexpr int kRedrawMs = 100;

QString seconds(qint64 ms) { return QString::number(ms / 1000.0, 'f', 2); }

QStringList flagsOf(const MediaFacts& f) {
  QStringList flags;
  if (f.silent) flags << QStringLiteral("silent");
  if (f.black) flags << QStringLiteral("black");
  if (f.frozen) flags << QStringLiteral("frozen");
  return flags;
}

// "h264 640x360 + aac, 1200 kb/s, mpegts", leaving out what is unknown.
QString evidence(const MediaFacts& f) {
  QStringList tracks;
  if (!f.videoCodec.isEmpty())
    tracks << (f.width > 0 ? QStringLiteral("%1 %2x%3").arg(f.videoCodec).arg(f.width).arg(f.height)
                           : f.videoCodec);
  if (!f.audioCodec.isEmpty()) tracks << f.audioCodec;
  QStringList parts{tracks.join(QStringLiteral(" + "))};
  if (f.bitrate > 0) parts << QStringLiteral("%1 kb/s").arg((f.bitrate + 500) / 1000);
  if (!f.container.isEmpty()) parts << f.container;
  parts << flagsOf(f);
  parts.removeAll(QString());
  return parts.join(QStringLiteral(", "));
}

QString clockText(qint64 seconds) {
  return QStringLiteral("%1:%2").arg(seconds / 60, 2, 10, QChar(u'0')).arg(seconds % 60, 2, 10, QChar(u'0'));
}

}  // namespace

QString resultLine(int index, const playlists::Station& station, const check::CheckResult& result) {
  QString what = check::outcomeText(result.outcome);
  if (result.httpStatus >= 400) what += QStringLiteral(" (HTTP %1)").arg(result.httpStatus);
  const bool played = result.msToMedia >= 0 && result.facts.hasMedia();
  const QString info = played ? evidence(result.facts) : QString();
  return QStringLiteral("%1  %2  %3  %4  %5  %6")
      .arg(index, 4)
      .arg(what)
      .arg(played ? seconds(result.msToMedia) + QStringLiteral(" s") : QStringLiteral("-"))
      .arg(info.isEmpty() ? QStringLiteral("-") : info)
      .arg(station.name, station.address);
}

QJsonObject resultJson(int index, const playlists::Station& station, const check::CheckResult& result) {
  const check::Outcome o = result.outcome;
  QJsonObject j{{"index", index},
                {"name", station.name},
                {"address", station.address},
                {"verdict", check::verdictKey(o)},
                {"reason", o == check::Outcome::Playing ? QJsonValue() : QJsonValue(check::reasonKey(o))},
                {"attempts", result.attempts},
                {"flaky", result.flaky}};
  if (result.httpStatus > 0) j.insert("http_status", result.httpStatus);
  if (!result.variant.isEmpty()) j.insert("variant", result.variant);
  const bool played = result.facts.hasMedia();
  j.insert("seconds_to_media", result.msToMedia >= 0 && played ? QJsonValue(result.msToMedia / 1000.0)
                                                              : QJsonValue());
  if (!played) return j;
  const MediaFacts& f = result.facts;
  j.insert("container", f.container);
  j.insert("video_codec", f.videoCodec.isEmpty() ? QJsonValue() : QJsonValue(f.videoCodec));
  j.insert("width", f.width);
  j.insert("height", f.height);
  j.insert("audio_codec", f.audioCodec.isEmpty() ? QJsonValue() : QJsonValue(f.audioCodec));
  j.insert("bitrate", f.bitrate);
  if (f.downloadSpeed > 0) j.insert("download_speed", f.downloadSpeed);
  j.insert("flags", QJsonArray::fromStringList(flagsOf(f)));
  return j;
}

QString compact(const QJsonObject& o) {
  return QString::fromUtf8(QJsonDocument(o).toJson(QJsonDocument::Compact));
}

history::LineVerdict lineVerdictOfJson(const QJsonObject& o, const QDateTime& time,
                                       QLatin1StringView source) {
  const auto text = [&o](const char* key) { return o.value(QLatin1String(key)).toString(); };
  const auto number = [&o](const char* key) { return o.value(QLatin1String(key)).toInteger(); };
  const QStringList flags = o.value(QLatin1String("flags")).toVariant().toStringList();
  history::LineVerdict v;
  v.line = history::lineKey(text("address"));
  v.time = time;
  v.outcome = text("verdict");
  v.reason = text("reason");
  v.httpStatus = static_cast<int>(number("http_status"));
  v.firstFrameMs = qRound64(o.value(QLatin1String("seconds_to_media")).toDouble() * 1000);
  v.container = text("container");
  v.videoCodec = text("video_codec");
  v.audioCodec = text("audio_codec");
  v.width = static_cast<int>(number("width"));
  v.height = static_cast<int>(number("height"));
  v.bitrate = number("bitrate");
  v.downloadSpeed = number("download_speed");
  v.silent = flags.contains(QLatin1String("silent"));
  v.black = flags.contains(QLatin1String("black"));
  v.frozen = flags.contains(QLatin1String("frozen"));
  v.source = source;
  return v;
}

std::optional<check::Outcome> outcomeOfJson(const QJsonObject& o) {
  const QString verdict = o.value(QLatin1String("verdict")).toString();
  if (verdict.isEmpty() || o.value(QLatin1String("address")).toString().isEmpty()) return std::nullopt;
  if (verdict == u"playing") return check::Outcome::Playing;
  return check::outcomeOfKey(o.value(QLatin1String("reason")).toString())
      .value_or(check::Outcome::BadMedia);
}

QString summaryTable(const OutcomeTally& tally) {
  int total = 0;
  QStringList rows{QStringLiteral("%1  %2").arg(QStringLiteral("数量 count"), 10).arg(QStringLiteral("结果 result"))};
  for (check::Outcome o : check::kAllOutcomes) {
    const int n = tally.value(o);
    total += n;
    if (n > 0) rows << QStringLiteral("%1  %2").arg(n, 10).arg(check::outcomeText(o));
  }
  rows << QStringLiteral("%1  %2").arg(total, 10).arg(QStringLiteral("合计 total"));
  return rows.join(u'\n');
}

CheckProgress::CheckProgress(Console& console, int total) : m_console(console), m_total(total) {
  m_clock.start();
}

void CheckProgress::update(int done, int playing) {
  const int tenth = m_total > 0 ? done * 10 / m_total : 10;
  if (m_console.errIsTerminal()) {
    if (done < m_total && m_sinceDraw.isValid() && m_sinceDraw.elapsed() < kRedrawMs) return;
    m_sinceDraw.start();
  } else if (tenth == m_lastTenth) {
    return;
  }
  m_lastTenth = tenth;
  const double rate = done * 1000.0 / std::max<qint64>(1, m_clock.elapsed());
  const qint64 left = rate > 0 ? qRound64((m_total - done) / rate) : 0;
  const int filled = m_total > 0 ? done * kBarWidth / m_total : kBarWidth;
  m_console.progress(
      QStringLiteral("[%1%2] %3/%4  可播放 playing %5  %6/s  剩余 left %7")
          .arg(QString(filled, u'#'), QString(kBarWidth - filled, u'-'))
          .arg(done)
          .arg(m_total)
          .arg(playing)
          .arg(QString::number(rate, 'f', 1))
          .arg(clockText(left)),
      true);
}

void CheckProgress::end() { m_console.endProgress(); }

}  // namespace cli
