#pragma once

#include <QList>

#include "history/line_verdict.h"

// A verdict on a line with no figures, as a check that timed out or played
// would record it.
inline history::LineVerdict verdictOf(const QString& line, QLatin1StringView outcome,
                                      const QDateTime& time) {
  history::LineVerdict v;
  v.line = line;
  v.time = time;
  v.outcome = outcome;
  v.reason = outcome == history::outcome::kFailed ? QStringLiteral("timed_out") : QString();
  v.source = history::source::kCheck;
  return v;
}

// Verdicts on as many lines with headers, a millisecond apart: two in three
// play a 720p stream, the others time out.
inline QList<history::LineVerdict> manyVerdicts(int count, const QDateTime& time) {
  QList<history::LineVerdict> verdicts;
  verdicts.reserve(count);
  for (int i = 0; i < count; ++i) {
    history::LineVerdict v =
        verdictOf(QStringLiteral("http://10.0.%1.%2/live.m3u8|referer=http://a/")
                      .arg(i / 250)
                      .arg(i % 250),
                  i % 3 ? history::outcome::kPlaying : history::outcome::kFailed,
                  time.addMSecs(i));
    v.container = QStringLiteral("hls");
    v.videoCodec = QStringLiteral("h264");
    v.width = 1280;
    v.height = 720;
    verdicts.append(v);
  }
  return verdicts;
}
