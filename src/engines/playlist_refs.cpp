#include "engines/playlist_refs.h"

#include <QDir>
#include <QFileInfo>
#include <QRegularExpression>
#include <QUrl>

#include "engines/mpv_failure.h"
#include "playlists/asx_list.h"
#include "playlists/network_address.h"

namespace playlistrefs {

namespace {

QString pathOf(const QString& address) {
  return isLocalAddress(address) ? localPath(address) : QUrl(address).path();
}

QString resolve(const QString& entry, const QString& listAddress) {
  if (!QUrl(entry).isRelative()) return entry;
  if (isLocalAddress(listAddress))
    return QFileInfo(entry).isAbsolute() ? entry
                                         : QFileInfo(localPath(listAddress)).dir().filePath(entry);
  return QUrl(listAddress).resolved(QUrl(entry)).toString();
}

}  // namespace

Kind kindOf(const QString& address) {
  const QString path = pathOf(address).toLower();
  if (path.endsWith(u".ram")) return Kind::Ram;
  for (const char16_t* ext : {u".asx", u".wax", u".wvx"})
    if (path.endsWith(ext)) return Kind::Asx;
  return Kind::None;
}

QStringList parseRam(const QString& text) {
  QStringList out;
  for (QString line : text.split(QRegularExpression(QStringLiteral("[\r\n]")))) {
    line = line.trimmed();
    if (line.startsWith(QChar(0xFEFF))) line = line.mid(1).trimmed();
    if (line.isEmpty() || line.startsWith(u'#') || line == u"--stop--") continue;
    out << line;
  }
  return out;
}

QStringList parseAsx(const QString& text) {
  QStringList out;
  for (const asx::Entry& entry : asx::read(text))
    if (!entry.listRef) out << entry.refs;
  return out;
}

QStringList entries(Kind kind, const QString& text, const QString& listAddress) {
  QStringList found = kind == Kind::Ram ? parseRam(text) : kind == Kind::Asx ? parseAsx(text)
                                                                             : QStringList();
  for (QString& entry : found) entry = resolve(entry, listAddress);
  // A list from the network must not make the engine open local files.
  if (!isLocalAddress(listAddress))
    found.removeIf([](const QString& entry) { return !playlists::hasNetworkScheme(entry); });
  return found;
}

}  // namespace playlistrefs
