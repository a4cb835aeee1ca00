#include "playlists/tidy_address.h"

#include <QDir>
#include <QRegularExpression>
#include <QUrl>

namespace playlists {

namespace {

bool isDrivePath(const QString& text) {
  static const QRegularExpression drive(QStringLiteral("^[A-Za-z]:[\\\\/]"));
  return drive.match(text).hasMatch();
}

TidyAddress networkAddress(const QString& text) {
  const QUrl url(text, QUrl::TolerantMode);
  if (!url.isValid() || (url.host().isEmpty() && url.scheme() != u"file"))
    return {text, AddressProblem::Malformed};
  const QString encoded = withEncodedCommas(url.toString(QUrl::FullyEncoded));
  if (encoded.size() > kMaxAddressLength) return {text, AddressProblem::TooLong};
  return {encoded, std::nullopt};
}

TidyAddress localPath(const QString& text, const QString& baseDir) {
  if (text.contains(u',')) return {text, AddressProblem::CommaInPath};
  if (isDrivePath(text) || baseDir.isEmpty()) return {text, std::nullopt};
  // Cleaning "a /" leaves a space at the end, which a station line drops,
  // and dropping it may leave more to clean: clean until nothing changes,
  // so the path reads back as it is stored.
  QString path = QDir(baseDir).absoluteFilePath(text);
  for (QString clean = QDir::cleanPath(path).trimmed(); clean != path;
       clean = QDir::cleanPath(clean).trimmed())
    path = clean;
  return {path, std::nullopt};
}

// The last name of a path without its last extension, as QFileInfo gives
// it but without its cost, which counts in lists of many thousand entries.
QString completeBaseName(const QString& path) {
  const QStringView file = QStringView(path).mid(path.lastIndexOf(u'/') + 1);
  const qsizetype dot = file.lastIndexOf(u'.');
  return (dot >= 0 ? file.left(dot) : file).toString();
}

QString percentDecoded(const QString& text) {
  return text.contains(u'%') ? QUrl::fromPercentEncoding(text.toUtf8()) : text;
}

}  // namespace

bool hasControlCharacters(QStringView text) {
  return std::any_of(text.begin(), text.end(),
                     [](QChar c) { return c.unicode() < 0x20 || c.unicode() == 0x7f; });
}

QString withEncodedCommas(QString address) {
  // A station line ends its address at a comma.
  return address.replace(u',', QStringLiteral("%2C"));
}

QString addressScheme(const QString& address) {
  // A letter, then letters, digits, "+", "." or "-", then "://".
  const auto isSchemeChar = [](QChar c, bool first) {
    const char16_t u = c.unicode();
    const bool letter = (u >= u'a' && u <= u'z') || (u >= u'A' && u <= u'Z');
    return letter || (!first && ((u >= u'0' && u <= u'9') || u == u'+' || u == u'.' || u == u'-'));
  };
  qsizetype end = 0;
  while (end < address.size() && isSchemeChar(address[end], end == 0)) ++end;
  if (end == 0 || !QStringView(address).mid(end).startsWith(u"://")) return {};
  return address.left(end).toLower();
}

int defaultPort(const QString& scheme) {
  static const QHash<QString, int> ports = {
      {QStringLiteral("http"), 80},  {QStringLiteral("https"), 443}, {QStringLiteral("ftp"), 21},
      {QStringLiteral("rtsp"), 554}, {QStringLiteral("rtmp"), 1935}, {QStringLiteral("mms"), 1755},
      {QStringLiteral("mmsh"), 80},  {QStringLiteral("mmst"), 1755},
  };
  return ports.value(scheme, -1);
}

TidyAddress tidyAddress(const QString& raw, const QString& baseDir) {
  const QString text = raw.trimmed();
  if (text.isEmpty()) return {text, AddressProblem::Empty};
  if (text.size() > kMaxAddressLength) return {QString(), AddressProblem::TooLong};
  if (hasControlCharacters(text)) return {text, AddressProblem::ControlCharacters};
  if (!addressScheme(text).isEmpty()) return networkAddress(text);
  return localPath(text, baseDir);
}

namespace {

// The end of the first of stops in text from from on, or the text's end.
qsizetype firstOf(const QString& text, std::initializer_list<char16_t> stops, qsizetype from) {
  qsizetype end = text.size();
  for (const char16_t stop : stops) {
    const qsizetype p = text.indexOf(QChar(stop), from);
    if (p >= 0) end = std::min(end, p);
  }
  return end;
}

// An address with a scheme cut into its parts, without decoding them.
struct AddressParts {
  QString userInfo;  // with its "@"
  QString host;
  QString port;
  qsizetype pathStart;  // where the path (or query) begins
};

AddressParts split(const QString& address, const QString& scheme) {
  const qsizetype authorityStart = scheme.size() + 3;
  const qsizetype authorityEnd = firstOf(address, {u'/', u'?', u'#'}, authorityStart);
  const QString authority = address.mid(authorityStart, authorityEnd - authorityStart);
  const qsizetype at = authority.lastIndexOf(u'@');
  AddressParts parts{authority.left(at + 1), authority.mid(at + 1), {}, authorityEnd};
  const qsizetype colon = parts.host.lastIndexOf(u':');
  if (colon >= 0 && colon > parts.host.lastIndexOf(u']')) {
    parts.port = parts.host.mid(colon + 1);
    parts.host.truncate(colon);
  }
  return parts;
}

}  // namespace

QString duplicateKey(const QString& address) {
  const QString scheme = addressScheme(address);
  if (scheme.isEmpty()) return address;
  const AddressParts parts = split(address, scheme);
  bool numeric = false;
  const int portNumber = parts.port.toInt(&numeric);
  const bool dropPort = parts.port.isEmpty() || (numeric && portNumber == defaultPort(scheme));
  return scheme + QStringLiteral("://") + parts.userInfo + parts.host.toLower() +
         (dropPort ? QString() : u':' + parts.port) + address.mid(parts.pathStart);
}

QString nameFromAddress(const QString& address) {
  const QString scheme = addressScheme(address);
  if (scheme.isEmpty()) {
    const QString base = completeBaseName(address);
    return base.isEmpty() ? address : base;
  }
  const AddressParts parts = split(address, scheme);
  const qsizetype pathEnd = firstOf(address, {u'?', u'#'}, parts.pathStart);
  const QString path = address.mid(parts.pathStart, pathEnd - parts.pathStart);
  const QString file = percentDecoded(completeBaseName(path));
  if (!file.isEmpty()) return file;
  const QString host = percentDecoded(parts.host);
  return host.isEmpty() ? address : host;
}

QString describe(AddressProblem problem) {
  switch (problem) {
    case AddressProblem::Empty: return QStringLiteral("没有地址 / no address");
    case AddressProblem::TooLong: return QStringLiteral("地址太长 / address too long");
    case AddressProblem::ControlCharacters:
      return QStringLiteral("地址含控制字符 / address holds control characters");
    case AddressProblem::Malformed: return QStringLiteral("地址无效 / not a valid address");
    case AddressProblem::CommaInPath:
      return QStringLiteral("路径含逗号，电台文件无法保存 / a path with a comma cannot be stored");
  }
  return {};
}

}  // namespace playlists
