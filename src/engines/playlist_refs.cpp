#include "engines/playlist_refs.h"

#include <QDir>
#include <QFileInfo>
#include <QRegularExpression>
#include <QUrl>

#include "engines/mpv_failure.h"

namespace playlistrefs {

namespace {

QString pathOf(const QString& address) {
  return isLocalAddress(address) ? localPath(address) : QUrl(address).path();
}

QString decodeEntities(QString value) {
  static const QRegularExpression numeric(QStringLiteral("&#(x?)([0-9a-fA-F]+);"));
  QRegularExpressionMatch m;
  qsizetype from = 0;
  while ((m = numeric.match(value, from)).hasMatch()) {
    const uint code = m.captured(2).toUInt(nullptr, m.captured(1).isEmpty() ? 10 : 16);
    const QString ch = QString::fromUcs4(reinterpret_cast<const char32_t*>(&code), 1);
    value.replace(m.capturedStart(), m.capturedLength(), ch);
    from = m.capturedStart() + ch.size();
  }
  static const std::pair<QString, QString> named[] = {
      {QStringLiteral("&lt;"), QStringLiteral("<")},     {QStringLiteral("&gt;"), QStringLiteral(">")},
      {QStringLiteral("&quot;"), QStringLiteral("\"")}, {QStringLiteral("&apos;"), QStringLiteral("'")},
      {QStringLiteral("&amp;"), QStringLiteral("&")}};
  for (const auto& [entity, ch] : named) value.replace(entity, ch);
  return value;
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
  static const QRegularExpression comment(QStringLiteral("<!--.*?-->"),
                                          QRegularExpression::DotMatchesEverythingOption);
  static const QRegularExpression ref(
      QStringLiteral("<ref\\b[^>]*?\\bhref\\s*=\\s*(?:\"([^\"]*)\"|'([^']*)'|([^\\s>]+))"),
      QRegularExpression::CaseInsensitiveOption);
  QString body = text;
  body.remove(comment);
  QStringList out;
  for (auto it = ref.globalMatch(body); it.hasNext();) {
    const QRegularExpressionMatch m = it.next();
    const QString value = decodeEntities((m.captured(1) + m.captured(2) + m.captured(3)).trimmed());
    if (!value.isEmpty()) out << value;
  }
  return out;
}

QStringList entries(Kind kind, const QString& text, const QString& listAddress) {
  QStringList found = kind == Kind::Ram ? parseRam(text) : kind == Kind::Asx ? parseAsx(text)
                                                                             : QStringList();
  for (QString& entry : found) entry = resolve(entry, listAddress);
  return found;
}

}  // namespace playlistrefs
