#include <QRegularExpression>

#include "cli/playlist_builder.h"

namespace cli {

namespace {

// &amp; &lt; &gt; &quot; &apos; and numeric references; anything else is
// left as written (ASX files in the wild are rarely well-formed XML).
QString decodeEntities(const QString& text) {
  static const QRegularExpression entity(QStringLiteral("&(#x[0-9a-fA-F]+|#[0-9]+|[a-zA-Z]+);"));
  static const QHash<QString, QString> named = {
      {QStringLiteral("amp"), QStringLiteral("&")},  {QStringLiteral("lt"), QStringLiteral("<")},
      {QStringLiteral("gt"), QStringLiteral(">")},   {QStringLiteral("quot"), QStringLiteral("\"")},
      {QStringLiteral("apos"), QStringLiteral("'")},
  };
  QString out;
  int last = 0;
  for (auto it = entity.globalMatch(text); it.hasNext();) {
    const auto m = it.next();
    const QString body = m.captured(1);
    QString replacement = m.captured(0);
    if (body.startsWith(u'#')) {
      bool ok = false;
      const char32_t code = body.startsWith(u"#x", Qt::CaseInsensitive)
                                ? body.mid(2).toUInt(&ok, 16)
                                : body.mid(1).toUInt(&ok);
      if (ok && code > 0 && code <= 0x10FFFF) replacement = QString::fromUcs4(&code, 1);
    } else if (named.contains(body.toLower())) {
      replacement = named.value(body.toLower());
    }
    out += text.mid(last, m.capturedStart() - last) + replacement;
    last = m.capturedEnd();
  }
  return out + text.mid(last);
}

QString hrefOf(const QString& tagText) {
  static const QRegularExpression href(
      QStringLiteral("\\bhref\\s*=\\s*(?:\"([^\"]*)\"|'([^']*)'|([^\\s\"'>]+))"),
      QRegularExpression::CaseInsensitiveOption);
  const auto m = href.match(tagText);
  if (!m.hasMatch()) return {};
  for (int i = 1; i <= 3; ++i)
    if (m.capturedStart(i) >= 0) return decodeEntities(m.captured(i));
  return {};
}

// Walks the tags of an ASX text by hand instead of with an XML parser, so
// upper-case tags, bare ampersands and missing end tags still give entries.
class AsxScanner {
 public:
  AsxScanner(const QString& text, PlaylistBuilder& builder) : m_text(text), m_builder(builder) {}

  void run() {
    int pos = 0;
    while (true) {
      const int lt = m_text.indexOf(u'<', pos);
      if (lt < 0) break;
      if (m_text.mid(lt, 4) == u"<!--") {
        const int end = m_text.indexOf(QStringLiteral("-->"), lt + 4);
        if (end < 0) break;
        pos = end + 3;
        continue;
      }
      const int gt = m_text.indexOf(u'>', lt + 1);
      if (gt < 0) break;
      tag(lt, gt);
      pos = gt + 1;
    }
    if (m_inEntry) closeEntry();
  }

 private:
  void tag(int lt, int gt) {
    const QString inside = m_text.mid(lt + 1, gt - lt - 1).trimmed();
    const bool closing = inside.startsWith(u'/');
    static const QRegularExpression word(QStringLiteral("^/?\\s*([A-Za-z]+)"));
    const QString name = word.match(inside).captured(1).toLower();
    if (name == u"entry") {
      if (m_inEntry) closeEntry();
      if (!closing) openEntry(lt);
    } else if (name == u"title" && m_inEntry) {
      if (!closing)
        m_titleStart = gt + 1;
      else if (m_titleStart >= 0)
        m_title = decodeEntities(m_text.mid(m_titleStart, lt - m_titleStart));
    } else if (name == u"ref" && !closing) {
      const QString href = hrefOf(inside);
      if (!m_inEntry)
        emitEntry(lineAt(lt), {}, href);
      else if (m_ref.isEmpty())
        m_ref = href;  // later refs are fallbacks
    } else if (name == u"entryref" && !closing) {
      emitEntry(lineAt(lt), {}, hrefOf(inside));
    }
  }

  void openEntry(int at) {
    m_inEntry = true;
    m_entryLine = lineAt(at);
    m_title.clear();
    m_ref.clear();
    m_titleStart = -1;
  }

  void closeEntry() {
    m_inEntry = false;
    emitEntry(m_entryLine, m_title, m_ref);
  }

  void emitEntry(int line, const QString& title, const QString& href) {
    if (href.trimmed().isEmpty())
      m_builder.skip(line, QStringLiteral("条目没有地址 / an entry without an address"));
    else
      m_builder.add(line, title, href);
  }

  // Tags are met in text order, so the line count only ever moves forward.
  int lineAt(int pos) {
    m_line += static_cast<int>(QStringView(m_text).mid(m_linePos, pos - m_linePos).count(u'\n'));
    m_linePos = pos;
    return m_line;
  }

  const QString& m_text;
  PlaylistBuilder& m_builder;
  bool m_inEntry = false;
  int m_entryLine = 0;
  int m_titleStart = -1;
  QString m_title;
  QString m_ref;
  int m_line = 1;
  int m_linePos = 0;
};

}  // namespace

void parseAsx(const QString& text, PlaylistBuilder& builder) { AsxScanner(text, builder).run(); }

}  // namespace cli
