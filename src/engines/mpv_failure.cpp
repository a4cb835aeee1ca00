#include "engines/mpv_failure.h"

#include <QFileInfo>
#include <QRegularExpression>
#include <QUrl>
#include <mpv/client.h>

int httpStatusOf(const QStringList& log) {
  static const QRegularExpression status(QStringLiteral("HTTP error (\\d{3})\\b"),
                                         QRegularExpression::CaseInsensitiveOption);
  for (const QString& line : log)
    if (const auto m = status.match(line); m.hasMatch()) return m.captured(1).toInt();
  return 0;
}

namespace {

bool logSays(const QStringList& log, const QRegularExpression& pattern) {
  for (const QString& line : log)
    if (pattern.match(line).hasMatch()) return true;
  return false;
}

// The failure an HTTP error status in the log tells.
std::optional<LoadFailure> failureFromStatus(const QStringList& log) {
  switch (check::outcomeOfStatus(httpStatusOf(log)).value_or(check::Outcome::Playing)) {
    case check::Outcome::NotFound: return LoadFailure::Missing;
    case check::Outcome::Forbidden: return LoadFailure::Forbidden;
    case check::Outcome::ServerError: return LoadFailure::ServerError;
    default: return std::nullopt;
  }
}

std::optional<LoadFailure> failureFromLog(const QStringList& log) {
  if (const auto fromStatus = failureFromStatus(log)) return fromStatus;
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


int FailureCodes::of(LoadFailure failure) const {
  switch (failure) {
    case LoadFailure::UnsupportedFormat: return unsupportedFormat;
    case LoadFailure::Unreachable: return unreachable;
    case LoadFailure::TimedOut: return timedOut;
    case LoadFailure::Missing: return missing;
    case LoadFailure::Dropped: return dropped;
    case LoadFailure::Forbidden: return forbidden;
    case LoadFailure::ServerError: return serverError;
    case LoadFailure::Other: break;
  }
  return other;
}

check::Outcome outcomeOfFailure(LoadFailure failure) {
  switch (failure) {
    case LoadFailure::Unreachable: return check::Outcome::Refused;
    case LoadFailure::TimedOut: return check::Outcome::TimedOut;
    case LoadFailure::Dropped: return check::Outcome::Dropped;
    case LoadFailure::Missing: return check::Outcome::NotFound;
    case LoadFailure::Forbidden: return check::Outcome::Forbidden;
    case LoadFailure::ServerError: return check::Outcome::ServerError;
    case LoadFailure::UnsupportedFormat:
    case LoadFailure::Other: break;
  }
  return check::Outcome::BadMedia;
}

QString describeFailure(LoadFailure failure) { return check::failureText(outcomeOfFailure(failure)); }
