#pragma once

#include <QString>
#include <QStringList>
#include <optional>

#include "form/play_outcome.h"

// Why a load gave up, as both players report it.
enum class LoadFailure {
  UnsupportedFormat,  // the engine does not recognise the data
  Unreachable,        // refused, unknown host, no route
  TimedOut,           // no answer, or not playing within the start limit
  Missing,            // no such file, here or on the server
  Dropped,            // a live stream stopped sending
  Other,
  Forbidden,          // the server refused the request (401, 403, 451)
  ServerError,        // the server failed (5xx)
};

inline constexpr LoadFailure kAllLoadFailures[] = {
    LoadFailure::UnsupportedFormat, LoadFailure::Unreachable, LoadFailure::TimedOut,
    LoadFailure::Missing,           LoadFailure::Dropped,     LoadFailure::Other,
    LoadFailure::Forbidden,         LoadFailure::ServerError};

// What is known when a load ends in failure.
struct FailureFacts {
  int mpvError = 0;       // MPV_ERROR_* of the end of the load
  QStringList log;        // warnings and errors mpv wrote while the entry loaded
  QString address;
  qint64 elapsedMs = 0;   // from the start of the entry to its end
  int networkTimeoutMs = 0;
};

LoadFailure classifyFailure(const FailureFacts& facts);
// The HTTP error status mpv's log names ("HTTP error 403 Forbidden"), 0 when
// it names none.
int httpStatusOf(const QStringList& log);

// The code an engine gives each kind of failure.
struct FailureCodes {
  int unsupportedFormat;
  int unreachable;
  int timedOut;
  int missing;
  int dropped;
  int other;
  int forbidden;
  int serverError;

  int of(LoadFailure failure) const;
};

// What an engine's failure means for a station.
check::Outcome outcomeOfFailure(LoadFailure failure);
// What the user is told: the outcome's words.
QString describeFailure(LoadFailure failure);

// True for a path or file: address, false for a network address.
bool isLocalAddress(const QString& address);
// The local path of a path or file: address.
QString localPath(const QString& address);
