#pragma once

#include <QString>
#include <optional>

namespace playlists {

// Why an address cannot become a station.
enum class AddressProblem { Empty, TooLong, ControlCharacters, Malformed, CommaInPath };

// The longest address a station may hold; longer text is junk, not a stream.
constexpr int kMaxAddressLength = 8192;

// The form in which an address is stored, played and compared: network
// addresses fully percent-encoded (spaces, commas, non-ASCII), local paths
// kept as written, relative ones resolved against baseDir. Station lines
// cannot hold a comma, so a path with one has no stored form.
struct TidyAddress {
  QString address;
  std::optional<AddressProblem> problem;
};
TidyAddress tidyAddress(const QString& raw, const QString& baseDir);

// True when text holds a C0 control character or DEL.
bool hasControlCharacters(QStringView text);

// A network address with its commas percent-encoded, as station lines need
// it; otherwise as it stands.
QString withEncodedCommas(QString address);

// The key under which two addresses count as the same station: scheme and
// host lower-cased and a default port dropped.
QString duplicateKey(const QString& address);

// Scheme of an address in lower case ("" for a local path).
QString addressScheme(const QString& address);

// The default port of a scheme, or -1 when it has none we know.
int defaultPort(const QString& scheme);

// A readable name for a station that came without one.
QString nameFromAddress(const QString& address);

// A one-line bilingual text for a problem, for reports of skipped entries.
QString describe(AddressProblem problem);

}  // namespace playlists
