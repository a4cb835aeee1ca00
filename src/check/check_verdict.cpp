#include "check/check_verdict.h"

namespace check {

namespace {

struct OutcomeWords {
  Outcome outcome;
  const char* key;
  const char16_t* text;
};

constexpr OutcomeWords kWords[] = {
    {Outcome::Playing, "", u"可播放 playing"},
    {Outcome::Refused, "refused", u"拒绝连接 refused (no connection)"},
    {Outcome::NotFound, "not_found", u"找不到 not found"},
    {Outcome::Forbidden, "forbidden", u"禁止访问（地区限制或令牌过期） forbidden, geo-blocked or token expired"},
    {Outcome::ServerError, "server_error", u"服务器错误 server error"},
    {Outcome::NotMedia, "not_media", u"不是媒体（网页或文本） not media (a web page or text)"},
    {Outcome::BadMedia, "bad_media", u"无法解码 bad media (cannot be decoded)"},
    {Outcome::NoSegments, "no_segments", u"播放列表的分段无法获取 no segments (playlist parts missing)"},
    {Outcome::TimedOut, "timed_out", u"超时 timed out"},
    {Outcome::Dropped, "dropped", u"播放后中断 dropped (stopped too soon)"},
    {Outcome::Flagged, "flagged", u"无声、黑屏或静止 flagged (silent, black or frozen)"},
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

QString reasonKey(Outcome o) { return QString::fromLatin1(wordsOf(o).key); }

QString outcomeText(Outcome o) { return QString::fromUtf16(wordsOf(o).text); }

std::optional<Outcome> outcomeOfKey(const QString& reason) {
  // Playing has no reason: a failed line without one is no pass.
  if (reason.isEmpty()) return std::nullopt;
  for (const OutcomeWords& w : kWords)
    if (reason == QLatin1String(w.key)) return w.outcome;
  return std::nullopt;
}

Outcome outcomeOf(LoadFailure failure) {
  switch (failure) {
    case LoadFailure::Unreachable: return Outcome::Refused;
    case LoadFailure::TimedOut: return Outcome::TimedOut;
    case LoadFailure::Dropped: return Outcome::Dropped;
    case LoadFailure::Missing: return Outcome::NotFound;
    case LoadFailure::UnsupportedFormat:
    case LoadFailure::Other: break;
  }
  return Outcome::BadMedia;
}

std::optional<Outcome> outcomeOfStatus(int status) {
  if (status == 404 || status == 410) return Outcome::NotFound;
  if (status == 401 || status == 403 || status == 451) return Outcome::Forbidden;
  if (status >= 500 && status <= 599) return Outcome::ServerError;
  return std::nullopt;
}

}  // namespace check
