#include "history/failure_reason.h"

namespace history {

namespace {

struct ReasonWords {
  QLatin1StringView reason;
  const char16_t* text;
};

constexpr ReasonWords kTexts[] = {
    {reason::kRefused, u"拒绝连接 refused (no connection)"},
    {reason::kNotFound, u"找不到 not found"},
    {reason::kForbidden, u"禁止访问（地区限制或令牌过期） forbidden, geo-blocked or token expired"},
    {reason::kServerError, u"服务器错误 server error"},
    {reason::kNotMedia, u"不是媒体（网页或文本） not media (a web page or text)"},
    {reason::kBadMedia, u"无法解码 bad media (cannot be decoded)"},
    {reason::kNoSegments, u"播放列表的分段无法获取 no segments (playlist parts missing)"},
    {reason::kTimedOut, u"超时 timed out"},
    {reason::kDropped, u"播放后中断 dropped (stopped too soon)"},
    {reason::kFlagged, u"无声、黑屏或静止 flagged (silent, black or frozen)"},
    {reason::kStalled, u"卡住 stalled (no new media)"},
};

}  // namespace

QString reasonOfHttpStatus(int status) {
  if (status == 404 || status == 410) return reason::kNotFound;
  if (status == 401 || status == 403 || status == 451) return reason::kForbidden;
  if (status >= 500 && status <= 599) return reason::kServerError;
  return {};
}

QString reasonText(const QString& word) {
  for (const ReasonWords& w : kTexts)
    if (word == w.reason) return QString::fromUtf16(w.text);
  return word;
}

}  // namespace history
