#pragma once

#include <QLatin1StringView>
#include <QString>

namespace history {

// The words a failed verdict's reason is written in, by every engine and
// report that judges a line.
namespace reason {
inline constexpr QLatin1StringView kRefused{"refused"};
inline constexpr QLatin1StringView kNotFound{"not_found"};
inline constexpr QLatin1StringView kForbidden{"forbidden"};
inline constexpr QLatin1StringView kServerError{"server_error"};
inline constexpr QLatin1StringView kNotMedia{"not_media"};
inline constexpr QLatin1StringView kBadMedia{"bad_media"};
inline constexpr QLatin1StringView kNoSegments{"no_segments"};
inline constexpr QLatin1StringView kTimedOut{"timed_out"};
inline constexpr QLatin1StringView kDropped{"dropped"};
inline constexpr QLatin1StringView kFlagged{"flagged"};
// It played, then gave no new media for too long.
inline constexpr QLatin1StringView kStalled{"stalled"};
}  // namespace reason

// The reason an HTTP status settles by itself (404 not_found, 403
// forbidden, 503 server_error); empty when the status says no more.
QString reasonOfHttpStatus(int status);
// The reason with its Chinese, for people: "禁止访问（…） forbidden, …"; an
// unknown word as it is.
QString reasonText(const QString& word);

}  // namespace history
