#include "engines/mpv_failure.h"

#include <QFileInfo>
#include <QRegularExpression>
#include <QUrl>
#include <mpv/client.h>

#include "history/failure_reason.h"

namespace {

bool logSays(const QStringList& log, const QRegularExpression& pattern) {
  for (const QString& line : log)
    if (pattern.match(line).hasMatch()) return true;
  return false;
}

std::optional<LoadFailure> failureFromLog(const QStringList& log) {
  static const QRegularExpression unreachable(
      QStringLiteral("refused|failed to resolve|not known|no route|unreachable|reset by peer"),
      QRegularExpression::CaseInsensitiveOption);
  static const QRegularExpression missing(QStringLiteral("\\b404\\b|not found|no such file"),
                                          QRegularExpression::CaseInsensitiveOption);
  static const QRegularExpression timedOut(QStringLiteral("timed out|timeout"),
                                           QRegularExpression::CaseInsensitiveOption);
  if (logSays(log, unreachable)) return LoadFailure::Unreachable;
  if (logSays(log, missing)) return LoadFailure::Missing;
  if (logSays(log, timedOut)) return LoadFailure::TimedOut;
  return std::nullopt;
}

}  // namespace

bool isLocalAddress(const QString& address) {
  const QString scheme = QUrl(address).scheme();
  // A one-letter scheme is a drive letter.
  return scheme.isEmpty() || scheme.size() == 1 || scheme == u"file";
}

QString localPath(const QString& address) {
  return address.startsWith(u"file:", Qt::CaseInsensitive) ? QUrl(address).toLocalFile()
                                                            : address;
}

LoadFailure classifyFailure(const FailureFacts& facts) {
  if (const auto fromLog = failureFromLog(facts.log)) return *fromLog;
  const bool local = isLocalAddress(facts.address);
  if (local && !QFileInfo::exists(localPath(facts.address))) return LoadFailure::Missing;
  // A network timeout shows only as a late failure; rtsp even reports it as
  // an unknown format.
  if (!local && facts.networkTimeoutMs > 0 && facts.elapsedMs >= facts.networkTimeoutMs * 9 / 10)
    return LoadFailure::TimedOut;
  if (facts.mpvError == MPV_ERROR_UNKNOWN_FORMAT) return LoadFailure::UnsupportedFormat;
  return local ? LoadFailure::Other : LoadFailure::Unreachable;
}

int httpStatusOf(const QStringList& log) {
  static const QRegularExpression status(QStringLiteral("HTTP error (\\d{3})\\b"));
  for (const QString& line : log)
    if (const auto m = status.match(line); m.hasMatch()) return m.captured(1).toInt();
  return 0;
}

QString reasonOf(LoadFailure failure) {
  namespace reason = history::reason;
  switch (failure) {
    case LoadFailure::Unreachable: return reason::kRefused;
    case LoadFailure::TimedOut: return reason::kTimedOut;
    case LoadFailure::Dropped: return reason::kDropped;
    case LoadFailure::Missing: return reason::kNotFound;
    case LoadFailure::UnsupportedFormat:
    case LoadFailure::Other: break;
  }
  return reason::kBadMedia;
}

int FailureCodes::of(LoadFailure failure) const {
  switch (failure) {
    case LoadFailure::UnsupportedFormat: return unsupportedFormat;
    case LoadFailure::Unreachable: return unreachable;
    case LoadFailure::TimedOut: return timedOut;
    case LoadFailure::Missing: return missing;
    case LoadFailure::Dropped: return dropped;
    case LoadFailure::Other: break;
  }
  return other;
}

QString describeFailure(LoadFailure failure) {
  switch (failure) {
    case LoadFailure::UnsupportedFormat: return QStringLiteral("无法识别的媒体格式");
    case LoadFailure::Unreachable: return QStringLiteral("无法连接到服务器");
    case LoadFailure::TimedOut: return QStringLiteral("连接超时");
    case LoadFailure::Missing: return QStringLiteral("找不到文件");
    case LoadFailure::Dropped: return QStringLiteral("网络连接中断");
    case LoadFailure::Other: break;
  }
  return QStringLiteral("无法播放此媒体");
}
