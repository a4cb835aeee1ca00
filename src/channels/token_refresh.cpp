#include "channels/token_refresh.h"

#include <QUrl>
#include <QUrlQuery>

#include "form/play_outcome.h"
#include "playlists/station_address.h"

namespace channels {

namespace {

// Unix seconds from 2001 to 2286: smaller numbers are no expiry time (a
// "t=12" is a position), larger ones are milliseconds.
constexpr qint64 kEarliestSeconds = 1'000'000'000;
constexpr qint64 kLatestSeconds = 9'999'999'999;

std::optional<QDateTime> unixTime(const QString& value, int base) {
  bool ok = false;
  qint64 n = value.toLongLong(&ok, base);
  if (!ok) return std::nullopt;
  if (n > kLatestSeconds) n /= 1000;
  if (n < kEarliestSeconds || n > kLatestSeconds) return std::nullopt;
  return QDateTime::fromSecsSinceEpoch(n, Qt::UTC);
}

// Where a stream is, whatever token its query holds.
bool sameStream(const QUrl& a, const QUrl& b) {
  return a.scheme().compare(b.scheme(), Qt::CaseInsensitive) == 0 &&
         a.host().compare(b.host(), Qt::CaseInsensitive) == 0 && a.port() == b.port() &&
         a.path() == b.path();
}

}  // namespace

std::optional<QDateTime> tokenExpiry(const QString& line) {
  const QUrlQuery query(QUrl(playlists::bareAddress(line)));
  const struct {
    const char16_t* name;
    int base;
  } parameters[] = {{u"exp", 10}, {u"expires", 10}, {u"e", 10},
                    {u"t", 10},   {u"wsTime", 10},  {u"txTime", 16}};
  for (const auto& p : parameters) {
    const QString name = QString::fromUtf16(p.name);
    if (!query.hasQueryItem(name)) continue;
    if (const auto time = unixTime(query.queryItemValue(name), p.base)) return time;
  }
  return std::nullopt;
}

bool hasExpired(const QString& line, const QDateTime& now) {
  const auto expiry = tokenExpiry(line);
  return expiry && *expiry <= now;
}

QString pageOf(const QString& line) {
  const QString page = QString::fromUtf8(playlists::StationAddress::parse(line).header("Referer"));
  const QString scheme = QUrl(page).scheme().toLower();
  return scheme == u"http" || scheme == u"https" ? page : QString();
}

bool mayMendFailure(const QString& reason, int httpStatus) {
  for (const auto outcome : {check::outcomeOfKey(reason), check::outcomeOfStatus(httpStatus)})
    if (outcome == check::Outcome::Forbidden || outcome == check::Outcome::NotFound) return true;
  return false;
}

QString freshLine(const QString& line, const QStringList& pageAddresses) {
  playlists::StationAddress station = playlists::StationAddress::parse(line);
  const QUrl old(station.bare);
  for (const QString& found : pageAddresses) {
    const QString bare = playlists::bareAddress(found);
    if (bare == station.bare || !sameStream(old, QUrl(bare))) continue;
    station.bare = bare;
    return station.text();
  }
  return {};
}

}  // namespace channels
