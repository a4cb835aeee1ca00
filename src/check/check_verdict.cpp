#include "check/check_verdict.h"

namespace check {

QString verdictKey(Verdict v) {
  switch (v) {
    case Verdict::Playing: return QStringLiteral("playing");
    case Verdict::Refused: return QStringLiteral("refused");
    case Verdict::NotFound: return QStringLiteral("not found");
    case Verdict::TimedOut: return QStringLiteral("timed out");
    case Verdict::UnsupportedFormat: return QStringLiteral("unsupported format");
  }
  return {};
}

QString verdictText(Verdict v) {
  switch (v) {
    case Verdict::Playing: return QStringLiteral("可播放 playing");
    case Verdict::Refused: return QStringLiteral("拒绝连接 refused");
    case Verdict::NotFound: return QStringLiteral("找不到 not found");
    case Verdict::TimedOut: return QStringLiteral("超时 timed out");
    case Verdict::UnsupportedFormat: return QStringLiteral("格式不支持 unsupported format");
  }
  return {};
}

Verdict verdictOf(LoadFailure failure) {
  switch (failure) {
    case LoadFailure::Unreachable: return Verdict::Refused;
    case LoadFailure::TimedOut:
    // A stream that stopped sending before it played never answered in time.
    case LoadFailure::Dropped: return Verdict::TimedOut;
    case LoadFailure::Missing: return Verdict::NotFound;
    // Only local files end as Other: they exist but do not decode.
    case LoadFailure::UnsupportedFormat:
    case LoadFailure::Other: break;
  }
  return Verdict::UnsupportedFormat;
}

std::optional<Verdict> verdictOf(const ProbeResult& probe) {
  switch (probe.outcome) {
    case ProbeResult::Refused: return Verdict::Refused;
    case ProbeResult::NotFound: return Verdict::NotFound;
    case ProbeResult::TimedOut: return Verdict::TimedOut;
    case ProbeResult::Untested: return std::nullopt;
    case ProbeResult::Answered: break;
  }
  if (probe.status == 404 || probe.status == 410) return Verdict::NotFound;
  if (probe.status >= 400) return Verdict::Refused;
  return std::nullopt;
}

}  // namespace check
