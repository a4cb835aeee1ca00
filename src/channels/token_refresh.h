#pragma once

#include <QDateTime>
#include <QString>
#include <QStringList>
#include <optional>

// What decides whether a line's address is refreshed from the page it was
// found on, and which of the page's addresses replaces it. Lines are station
// address texts, headers included.
namespace channels {

// When the token of an address runs out, from the first expiry parameter of
// its query that reads as one: exp, expires, e, t or wsTime as Unix seconds
// (or milliseconds), txTime as hexadecimal Unix seconds. Nothing when the
// address names no time.
std::optional<QDateTime> tokenExpiry(const QString& line);
bool hasExpired(const QString& line, const QDateTime& now);

// The page the line was found on (its Referer), or "" when it has none.
QString pageOf(const QString& line);

// A failure that a fresh token may mend: forbidden or not found.
bool mayMendFailure(const QString& reason, int httpStatus);

// The page's address for the same stream as the line: the same scheme,
// host, port and path, another query. It keeps the line's headers. "" when
// the page has none.
QString freshLine(const QString& line, const QStringList& pageAddresses);

}  // namespace channels
