#include "playlists/asx_list.h"

#include <QHash>
#include <QRegularExpression>

namespace asx {

namespace {

// Longer titles are page text rather than a name.
constexpr int kMaxTitle = 4096;

QString hrefOf(const QString& tagText) {
  static const QRegularExpression href(
      QStringLiteral("\\bhref\\s*=\\s*(?:\"([^\"]*)\"|'([^']*)'|([^\\s\"'>]+))"),
      QRegularExpression::CaseInsensitiveOption);
  const auto m = href.match(tagText);
  if (!m.hasMatch()) return {};
  for (int i = 1; i <= 3; ++i)
    if (m.capturedStart(i) >= 0) return decodeEntities(m.captured(i)).trimmed();
  return {};
}

class Walker {
 public:
  explicit Walker(const QString& text) : m_text(text) {}

  QList<Entry> run() {
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
    if (m_open) m_entries.append(m_entry);
    return m_entries;
  }

 private:
  void tag(int lt, int gt) {
    const QString inside = m_text.mid(lt + 1, gt - lt - 1).trimmed();
    const bool closing = inside.startsWith(u'/');
    static const QRegularExpression word(QStringLiteral("^/?\\s*([A-Za-z]+)"));
    const QString name = word.match(inside).captured(1).toLower();
    if (name == u"entry") {
      if (m_open) m_entries.append(m_entry);
      m_open = !closing;
      if (m_open) {
        m_entry = Entry{lineAt(lt), {}, {}, false};
        m_titleStart = -1;
      }
    } else if (name == u"title" && m_open) {
      if (!closing)
        m_titleStart = gt + 1;
      else if (m_titleStart >= 0)
        takeTitle(lt);
    } else if (name == u"ref" && !closing) {
      addRef(lt, hrefOf(inside));
    } else if (name == u"entryref" && !closing) {
      m_entries.append(Entry{lineAt(lt), {}, refList(hrefOf(inside)), true});
    }
  }

  // A title ends at its first end tag; later ones read nothing again, so
  // repeated end tags cost no more than the text.
  void takeTitle(int end) {
    m_entry.title = decodeEntities(m_text.mid(m_titleStart, qMin(end - m_titleStart, kMaxTitle)));
    m_titleStart = -1;
  }

  void addRef(int at, const QString& href) {
    if (!m_open) {
      m_entries.append(Entry{lineAt(at), {}, refList(href), false});
    } else if (!href.isEmpty()) {
      m_entry.refs.append(href);
    }
  }

  static QStringList refList(const QString& href) {
    return href.isEmpty() ? QStringList() : QStringList{href};
  }

  // Tags are met in text order, so the line count only ever moves forward.
  int lineAt(int pos) {
    m_line += static_cast<int>(QStringView(m_text).mid(m_linePos, pos - m_linePos).count(u'\n'));
    m_linePos = pos;
    return m_line;
  }

  const QString& m_text;
  QList<Entry> m_entries;
  Entry m_entry;
  bool m_open = false;
  int m_titleStart = -1;
  int m_line = 1;
  int m_linePos = 0;
};

}  // namespace

QList<Entry> read(const QString& text) { return Walker(text).run(); }

QString decodeEntities(const QString& text) {
  static const QRegularExpression entity(QStringLiteral("&(#x[0-9a-fA-F]+|#[0-9]+|[a-zA-Z]+);"));
  static const QHash<QString, QString> named = {
      {QStringLiteral("amp"), QStringLiteral("&")},  {QStringLiteral("lt"), QStringLiteral("<")},
      {QStringLiteral("gt"), QStringLiteral(">")},   {QStringLiteral("quot"), QStringLiteral("\"")},
      {QStringLiteral("apos"), QStringLiteral("'")},
  };
  QString out;
  qsizetype last = 0;
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

}  // namespace asx
