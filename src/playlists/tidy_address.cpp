#include "playlists/tidy_address.h"

#include <QDir>
#include <QFileInfo>
#include <QRegularExpression>
#include <QUrl>

namespace playlists {

namespace {

bool hasControlCharacters(const QString& text) {
  return std::any_of(text.begin(), text.end(),
                     [](QChar c) { return c.unicode() < 0x20 || c.unicode() == 0x7f; });
}

bool isDrivePath(const QString& text) {
  static const QRegularExpression drive(QStringLiteral("^[A-Za-z]:[\\\\/]"));
  return drive.match(text).hasMatch();
}

TidyAddress networkAddress(const QString& text) {
  const QUrl url(text, QUrl::TolerantMode);
  if (!url.isValid() || (url.host().isEmpty() && url.scheme() != u"file"))
    return {text, AddressProblem::Malformed};
  QString encoded = url.toString(QUrl::FullyEncoded);
  // A station line ends its address at a comma.
  encoded.replace(u',', QStringLiteral("%2C"));
  if (encoded.size() > kMaxAddressLength) return {text, AddressProblem::TooLong};
  return {encoded, std::nullopt};
}

TidyAddress localPath(const QString& text, const QString& baseDir) {
  if (text.contains(u',')) return {text, AddressProblem::CommaInPath};
  if (isDrivePath(text) || baseDir.isEmpty()) return {text, std::nullopt};
  return {QDir::cleanPath(QDir(baseDir).absoluteFilePath(text)), std::nullopt};
}

}  // namespace

QString addressScheme(const QString& address) {
  static const QRegularExpression scheme(QStringLiteral("^([A-Za-z][A-Za-z0-9+.-]*)://"));
  const auto match = scheme.match(address);
  return match.hasMatch() ? match.captured(1).toLower() : QString();
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

QString duplicateKey(const QString& address) {
  const QString scheme = addressScheme(address);
  if (scheme.isEmpty()) return address;
  const int authorityStart = scheme.size() + 3;
  int authorityEnd = address.size();
  for (QChar stop : {u'/', u'?', u'#'}) {
    const int p = address.indexOf(stop, authorityStart);
    if (p >= 0) authorityEnd = std::min(authorityEnd, p);
  }
  const QString authority = address.mid(authorityStart, authorityEnd - authorityStart);
  const int at = authority.lastIndexOf(u'@');
  const QString userInfo = authority.left(at + 1);
  QString host = authority.mid(at + 1);
  QString port;
  const int colon = host.lastIndexOf(u':');
  if (colon >= 0 && colon > host.lastIndexOf(u']')) {
    port = host.mid(colon + 1);
    host.truncate(colon);
  }
  bool numeric = false;
  const int portNumber = port.toInt(&numeric);
  const bool dropPort = port.isEmpty() || (numeric && portNumber == defaultPort(scheme));
  return scheme + QStringLiteral("://") + userInfo + host.toLower() +
         (dropPort ? QString() : u':' + port) + address.mid(authorityEnd);
}

QString nameFromAddress(const QString& address) {
  if (addressScheme(address).isEmpty()) {
    const QString base = QFileInfo(address).completeBaseName();
    return base.isEmpty() ? address : base;
  }
  const QUrl url(address);
  const QString file = QFileInfo(url.path()).completeBaseName();
  if (!file.isEmpty()) return file;
  return url.host().isEmpty() ? address : url.host();
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
