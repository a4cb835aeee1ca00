#include "check/check_verdict.h"

#include "history/failure_reason.h"

namespace check {

namespace {

namespace reason = history::reason;

struct OutcomeWords {
  Outcome outcome;
  QLatin1StringView key;
};

constexpr OutcomeWords kWords[] = {
    {Outcome::Playing, {}},
    {Outcome::Refused, reason::kRefused},
    {Outcome::NotFound, reason::kNotFound},
    {Outcome::Forbidden, reason::kForbidden},
    {Outcome::ServerError, reason::kServerError},
    {Outcome::NotMedia, reason::kNotMedia},
    {Outcome::BadMedia, reason::kBadMedia},
    {Outcome::NoSegments, reason::kNoSegments},
    {Outcome::TimedOut, reason::kTimedOut},
    {Outcome::Dropped, reason::kDropped},
    {Outcome::Flagged, reason::kFlagged},
};

const OutcomeWords& wordsOf(Outcome o) {
  for (const OutcomeWords& w : kWords)
    if (w.outcome == o) return w;
  return kWords[0];
}

}  // namespace

QString verdictKey(Outcome o) {
  return o == Outcome::Playing ? QStringLiteral("playing") : QStringLiteral("failed");
}

QString reasonKey(Outcome o) { return wordsOf(o).key; }

QString outcomeText(Outcome o) {
  return o == Outcome::Playing ? QStringLiteral("可播放 playing") : history::reasonText(reasonKey(o));
}

std::optional<Outcome> outcomeOfKey(const QString& reason) {
  // Playing has no reason: a failed line without one is no pass.
  if (reason.isEmpty()) return std::nullopt;
  for (const OutcomeWords& w : kWords)
    if (reason == w.key) return w.outcome;
  return std::nullopt;
}

Outcome outcomeOf(LoadFailure failure) {
  return outcomeOfKey(reasonOf(failure)).value_or(Outcome::BadMedia);
}

std::optional<Outcome> outcomeOfStatus(int status) {
  return outcomeOfKey(history::reasonOfHttpStatus(status));
}

}  // namespace check
