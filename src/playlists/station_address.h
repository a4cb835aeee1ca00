#pragma once

#include <QByteArray>
#include <QList>
#include <QString>

namespace playlists {

// One request header a station needs, e.g. Referer or User-Agent.
struct RequestHeader {
  QByteArray name;  // as written; compared case-blind
  QByteArray value;
  bool operator==(const RequestHeader&) const = default;
};

// A station's address text split into the address the engines open and the
// request headers they send with it: "address|Referer=…&User-Agent=…", the
// convention of Chinese station lists. Station files, lists and the
// procedures keep the whole text; only the engines, the prober and the
// exporters split it.
struct StationAddress {
  QString bare;
  QList<RequestHeader> headers;

  // A text without "|" is a bare address. A malformed suffix (a part without
  // a name, a name that is no header token, a control character other than
  // tab in a value, more than kMaxSuffixLength characters) is dropped whole:
  // never sent raw. Within a good one, a header without a value, a name said
  // before, and Host, Content-Length, Transfer-Encoding and Connection (which
  // frame the request) are left out.
  static StationAddress parse(const QString& text);

  // The value of a header, case-blind by name; empty when it is not there.
  QByteArray header(QByteArrayView name) const;

  // The text form again: bare, then "|" and the headers with their values
  // percent-encoded, so the text survives station lines (no comma) and
  // parse() gives back the same headers.
  QString text() const;

  static constexpr int kMaxSuffixLength = 8192;
};

// The address an engine opens: the text before "|". Cheap; for "is this
// address already known?" checks over many stations.
QString bareAddress(const QString& text);

// The key under which two address texts are the same request: the bare
// address lower-cased where knownAddressKey lower-cases it, and the headers
// with their names lower-cased, sorted. The same stream with other headers
// is another request.
QString requestKey(const QString& address);

// The text of a bare address with one header added, unless the address
// already carries headers (then it is returned as it is).
QString withHeader(const QString& text, const QByteArray& name, const QString& value);

}  // namespace playlists
