#pragma once

#include <QString>
#include <optional>

namespace check {

// Whether a station plays, or the one reason it does not: the verdicts of
// the checker and the reasons the players and the window give.
enum class Outcome {
  Playing,
  Refused,      // no connection
  NotFound,     // 404/410, an unknown host or a missing file
  Forbidden,    // 401/403/451
  ServerError,  // 5xx
  NotMedia,     // a web page or text
  BadMedia,     // the engine could not decode it
  NoSegments,   // a playlist whose media parts cannot be fetched
  TimedOut,     // nothing within the limit
  Dropped,      // it started and stopped before the media asked for
  Flagged,      // it plays but is silent, black or frozen (strict checks)
  Stalled,      // it played, then gave no new media for too long
};

inline constexpr Outcome kAllOutcomes[] = {
    Outcome::Playing,  Outcome::Refused,    Outcome::NotFound, Outcome::Forbidden,
    Outcome::ServerError, Outcome::NotMedia, Outcome::BadMedia, Outcome::NoSegments,
    Outcome::TimedOut, Outcome::Dropped,    Outcome::Flagged,  Outcome::Stalled};

// "playing" or "failed".
QString verdictKey(Outcome o);
// The reason's word in JSON ("not_found"); empty for Playing.
QString reasonKey(Outcome o);
// The outcome in Chinese with its hint, then in English, for reports:
// "禁止访问（防盗链/Referer、地区限制或令牌过期） forbidden, geo-blocked ...".
QString outcomeText(Outcome o);
// The outcome in Chinese with its hint, as the window tells it.
QString failureText(Outcome o);
// The outcome of a reason's word, nothing for an unknown word.
std::optional<Outcome> outcomeOfKey(const QString& reason);
// The outcome an HTTP status settles without the engine; nothing when the
// engine has to decide.
std::optional<Outcome> outcomeOfStatus(int status);

}  // namespace check
