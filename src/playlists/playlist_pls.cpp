#include <QHash>
#include <QRegularExpression>
#include <QStringList>

#include "playlists/playlist_builder.h"
#include "base/text_lines.h"

namespace playlists {

namespace {

struct PlsEntry {
  int line = 0;
  QString file;
  QString title;
};

// Entries by their number, in order of appearance. A key without a number
// fills the last entry when it lacks that key; a second FileN with the same
// number opens a new entry rather than replacing the first.
class PlsEntries {
 public:
  void set(const QString& key, const QString& number, const QString& value, int line) {
    const bool isFile = key == u"file";
    PlsEntry& e = entry(number, isFile, line);
    (isFile ? e.file : e.title) = value;
  }
  const QList<PlsEntry>& all() const { return m_entries; }

 private:
  PlsEntry& entry(const QString& number, bool isFile, int line) {
    int index = number.isEmpty() ? unnumbered(isFile) : m_byNumber.value(number, -1);
    if (index >= 0 && isFile && !m_entries[index].file.isEmpty()) index = -1;
    if (index < 0) {
      index = static_cast<int>(m_entries.size());
      m_entries.append({line, {}, {}});
      if (!number.isEmpty() && !m_byNumber.contains(number)) m_byNumber.insert(number, index);
    }
    if (isFile) m_entries[index].line = line;
    return m_entries[index];
  }
  // A key without a number belongs to the last entry still missing it.
  int unnumbered(bool isFile) const {
    if (m_entries.isEmpty()) return -1;
    const PlsEntry& last = m_entries.back();
    if (!(isFile ? last.file : last.title).isEmpty()) return -1;
    return static_cast<int>(m_entries.size()) - 1;
  }

  QList<PlsEntry> m_entries;
  QHash<QString, int> m_byNumber;
};

}  // namespace

// PLS: an ini section [playlist] with FileN, TitleN and LengthN keys.
void parsePls(const QString& text, PlaylistBuilder& builder) {
  static const QRegularExpression key(QStringLiteral("^(file|title)(\\d*)$"),
                                      QRegularExpression::CaseInsensitiveOption);
  PlsEntries entries;
  textfile::forEachLine(text, [&](int number, QStringView raw) {
    const QStringView line = raw.trimmed();
    const qsizetype eq = line.indexOf(u'=');
    if (eq < 1) return;
    const auto match = key.match(line.left(eq).trimmed());
    if (!match.hasMatch()) return;
    entries.set(match.captured(1).toLower(), match.captured(2), line.mid(eq + 1).trimmed().toString(),
                number);
  });
  for (const PlsEntry& e : entries.all()) {
    if (e.file.isEmpty())
      builder.skip(e.line, QStringLiteral("只有标题没有地址 / a title without an address"));
    else
      builder.add(e.line, e.title, StationAddress::parse(e.file));
  }
}

}  // namespace playlists
