#include "form/play_outcome.h"

namespace check {

namespace {

// One row per outcome: the reason's word, what it is in Chinese and in
// English, and what usually causes it.
struct OutcomeWords {
  Outcome outcome;
  const char* key;
  const char16_t* chinese;
  const char* english;
  const char16_t* hint;
};

constexpr OutcomeWords kWords[] = {
    {Outcome::Playing, "", u"可播放", "playing", u""},
    {Outcome::Refused, "refused", u"无法连接到服务器", "refused (no connection)",
     u"服务器没有开或地址有误"},
    {Outcome::NotFound, "not_found", u"找不到", "not found", u"地址已失效或文件不存在"},
    {Outcome::Forbidden, "forbidden", u"禁止访问", "forbidden, geo-blocked or token expired",
     u"防盗链/Referer、地区限制或令牌过期"},
    {Outcome::ServerError, "server_error", u"服务器错误", "server error", u""},
    {Outcome::NotMedia, "not_media", u"不是媒体", "not media (a web page or text)", u"网页或文本"},
    {Outcome::BadMedia, "bad_media", u"无法解码", "bad media (cannot be decoded)", u""},
    {Outcome::NoSegments, "no_segments", u"播放列表的分段无法获取",
     "no segments (playlist parts missing)", u""},
    {Outcome::TimedOut, "timed_out", u"超时", "timed out", u""},
    {Outcome::Dropped, "dropped", u"播放后中断", "dropped (stopped too soon)", u""},
    {Outcome::Flagged, "flagged", u"无声、黑屏或静止", "flagged (silent, black or frozen)", u""},
    {Outcome::Stalled, "stalled", u"卡住", "stalled (no new media)", u""},
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

QString failureText(Outcome o) {
  const OutcomeWords& w = wordsOf(o);
  const QString hint = QString::fromUtf16(w.hint);
  const QString chinese = QString::fromUtf16(w.chinese);
  return hint.isEmpty() ? chinese : QStringLiteral("%1（%2）").arg(chinese, hint);
}

QString outcomeText(Outcome o) {
  return failureText(o) + u' ' + QString::fromLatin1(wordsOf(o).english);
}

std::optional<Outcome> outcomeOfKey(const QString& reason) {
  // Playing has no reason: a failed line without one is no pass.
  if (reason.isEmpty()) return std::nullopt;
  for (const OutcomeWords& w : kWords)
    if (reason == QLatin1String(w.key)) return w.outcome;
  return std::nullopt;
}

std::optional<Outcome> outcomeOfStatus(int status) {
  if (status == 404 || status == 410) return Outcome::NotFound;
  if (status == 401 || status == 403 || status == 451) return Outcome::Forbidden;
  if (status >= 500 && status <= 599) return Outcome::ServerError;
  return std::nullopt;
}

}  // namespace check
