#include "cli/check_report.h"

#include <QJsonDocument>
#include <QJsonObject>

#include "cli/console.h"

namespace cli {

namespace {

constexpr int kBarWidth = 30;
constexpr int kRedrawMs = 100;

QString seconds(qint64 ms) { return QString::number(ms / 1000.0, 'f', 2); }

}  // namespace

QString resultLine(int index, const playlists::Station& station, const check::CheckResult& result) {
  const bool played = result.verdict == check::Verdict::Playing;
  const QString info = played ? check::describe(result.info) : QString();
  return QStringLiteral("%1  %2  %3  %4  %5  %6")
      .arg(index, 4)
      .arg(check::verdictText(result.verdict))
      .arg(played ? seconds(result.msToPlay) + QStringLiteral(" s") : QStringLiteral("-"))
      .arg(info.isEmpty() ? QStringLiteral("-") : info)
      .arg(station.name, station.address);
}

QString resultJson(int index, const playlists::Station& station, const check::CheckResult& result) {
  QJsonObject o{{"index", index},
                {"name", station.name},
                {"address", station.address},
                {"verdict", check::verdictKey(result.verdict)}};
  if (result.verdict == check::Verdict::Playing) {
    o.insert("seconds_to_play", result.msToPlay / 1000.0);
    o.insert("codec", result.info.codecs);
    o.insert("width", result.info.width);
    o.insert("height", result.info.height);
    o.insert("bitrate", result.info.bitrate);
  } else {
    o.insert("seconds_to_play", QJsonValue::Null);
  }
  return QString::fromUtf8(QJsonDocument(o).toJson(QJsonDocument::Compact));
}

CheckProgress::CheckProgress(Console& console, int total) : m_console(console), m_total(total) {}

void CheckProgress::update(int done, int playing) {
  const int tenth = m_total > 0 ? done * 10 / m_total : 10;
  if (m_console.errIsTerminal()) {
    if (done < m_total && m_sinceDraw.isValid() && m_sinceDraw.elapsed() < kRedrawMs) return;
    m_sinceDraw.start();
  } else if (tenth == m_lastTenth) {
    return;
  }
  m_lastTenth = tenth;
  const int filled = m_total > 0 ? done * kBarWidth / m_total : kBarWidth;
  m_console.progress(QStringLiteral("[%1%2] %3/%4  可播放 playing %5  失败 failed %6")
                         .arg(QString(filled, u'#'), QString(kBarWidth - filled, u'-'))
                         .arg(done)
                         .arg(m_total)
                         .arg(playing)
                         .arg(done - playing),
                     true);
}

void CheckProgress::end() { m_console.endProgress(); }

}  // namespace cli
