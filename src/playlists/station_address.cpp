#include "playlists/station_address.h"

#include <QUrl>
#include <algorithm>
#include <tuple>

#include "base/header_value.h"
#include "playlists/tidy_address.h"

namespace playlists {

namespace {

// RFC 9110 token characters: what a header name may hold.
bool isTokenChar(char c) {
  static constexpr std::string_view extra = "!#$%&'*+-.^_`|~";
  return (c >= '0' && c <= '9') || (c >= 'a' && c <= 'z') || (c >= 'A' && c <= 'Z') ||
         extra.find(c) != std::string_view::npos;
}

bool isHeaderName(const QByteArray& name) {
  return !name.isEmpty() && std::all_of(name.begin(), name.end(), isTokenChar);
}

// Headers that frame the request itself: the engines and the prober set
// them, a station never does.
bool isFramingHeader(QByteArrayView name) {
  for (const char* framing : {"Host", "Content-Length", "Transfer-Encoding", "Connection"})
    if (name.compare(framing, Qt::CaseInsensitive) == 0) return true;
  return false;
}

bool hasHeaderNamed(const QList<RequestHeader>& headers, QByteArrayView name) {
  return std::any_of(headers.begin(), headers.end(), [name](const RequestHeader& h) {
    return name.compare(h.name, Qt::CaseInsensitive) == 0;
  });
}

std::optional<QList<RequestHeader>> parseSuffix(QStringView suffix) {
  QList<RequestHeader> headers;
  for (QStringView part : suffix.split(u'&', Qt::SkipEmptyParts)) {
    const qsizetype equals = part.indexOf(u'=');
    if (equals < 0) return std::nullopt;
    const QByteArray name = part.left(equals).trimmed().toLatin1();
    const QByteArray value =
        QByteArray::fromPercentEncoding(part.mid(equals + 1).trimmed().toUtf8());
    if (!isHeaderName(name) || !headervalue::isSafe(value)) return std::nullopt;
    // Each header goes out once, in place of the default (User-Agent): an
    // empty value or a second one of a name would make a second line.
    if (value.isEmpty() || isFramingHeader(name) || hasHeaderNamed(headers, name)) continue;
    headers.append({name, value});
  }
  return headers;
}

}  // namespace

StationAddress StationAddress::parse(const QString& text) {
  const qsizetype bar = text.indexOf(u'|');
  if (bar < 0) return {text, {}};
  StationAddress address{text.left(bar).trimmed(), {}};
  const QStringView suffix = QStringView(text).mid(bar + 1);
  if (suffix.size() > kMaxSuffixLength) return address;
  address.headers = parseSuffix(suffix).value_or(QList<RequestHeader>{});
  return address;
}

QByteArray StationAddress::header(QByteArrayView name) const {
  for (const RequestHeader& h : headers)
    if (name.compare(h.name, Qt::CaseInsensitive) == 0) return h.value;
  return {};
}

QString StationAddress::text() const {
  if (headers.isEmpty()) return bare;
  QStringList parts;
  for (const RequestHeader& h : headers)
    parts << QString::fromLatin1(h.name) + u'=' +
                 QString::fromLatin1(h.value.toPercentEncoding("/:;()?=@+!*~'"));
  return bare + u'|' + parts.join(u'&');
}

QString bareAddress(const QString& text) {
  const qsizetype bar = text.indexOf(u'|');
  return bar < 0 ? text : text.left(bar).trimmed();
}

QString requestKey(const QString& address) {
  if (!address.contains(u'|')) return duplicateKey(address);
  const StationAddress parsed = StationAddress::parse(address);
  QStringList headers;
  for (const RequestHeader& h : parsed.headers)
    headers << QString::fromLatin1(h.name.toLower() + '=' + h.value.toPercentEncoding());
  headers.sort();
  const QString bare = duplicateKey(parsed.bare);
  return headers.isEmpty() ? bare : bare + u'|' + headers.join(u'&');
}

QString withHeader(const QString& text, const QByteArray& name, const QString& value) {
  if (text.contains(u'|')) return text;
  return StationAddress{text, {{name, value.toUtf8()}}}.text();
}

}  // namespace playlists
