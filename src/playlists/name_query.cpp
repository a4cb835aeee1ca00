#include "playlists/name_query.h"

#include <algorithm>

#include "playlists/channel_key.h"
#include "playlists/pinyin.h"

namespace playlists {

namespace {

// Stands before each form after the text; no folded query holds it.
constexpr QChar kFormSeparator = u'\x01';

bool isAscii(const QString& text) {
  return std::all_of(text.begin(), text.end(), [](QChar c) { return c.unicode() < 0x80; });
}

// How well a pattern is found in forms, each of which starts at the
// beginning or after a separator. Only the forms' starts are compared, then
// one search tells whether it is inside, so a letter found all over a name
// costs no more than one found once.
QueryMatch matchIn(const QStringMatcher& pattern, QStringView forms) {
  for (qsizetype start = 0; start >= 0;) {
    if (forms.sliced(start).startsWith(pattern.pattern())) return QueryMatch::Start;
    start = forms.indexOf(kFormSeparator, start);
    if (start >= 0) ++start;
  }
  return pattern.indexIn(forms) >= 0 ? QueryMatch::Inside : QueryMatch::None;
}

// The characters a text holds, each hashed to one of 64 bits: a name that
// lacks one of a query's cannot hold the query.
quint64 characterBits(QStringView text) {
  quint64 bits = 0;
  for (const QChar c : text) bits |= quint64(1) << ((c.unicode() * 0x9E3779B1u) >> 26);
  return bits;
}

bool mayHold(quint64 bits, quint64 wanted) { return (bits & wanted) == wanted; }

}  // namespace

QString foldText(const QString& text) {
  // Compatibility forms make full-width letters and digits half-width.
  if (isAscii(text)) return text.toLower();
  return text.normalized(QString::NormalizationForm_KC).toCaseFolded();
}

QString foldQuery(const QString& query) {
  QString folded = foldChannelName(query);
  folded.removeIf([](QChar c) { return !c.isLetterOrNumber() && c != u'+'; });
  return folded;
}

SearchableName SearchableName::ofName(const QString& name, const QString& key) {
  SearchableName searchable = ofText(name);
  const Pinyin pinyin = pinyinOf(name);
  QString last;
  // A form equal to the one before adds nothing (an ASCII name's pinyin).
  for (const QString& form : {key, pinyin.full, pinyin.initials}) {
    if (form.isEmpty() || form == last) continue;
    searchable.m_forms += kFormSeparator + form;
    last = form;
  }
  searchable.m_bits = characterBits(searchable.m_forms);
  return searchable;
}

SearchableName SearchableName::ofText(const QString& text) {
  SearchableName searchable;
  searchable.m_forms = foldText(text);
  searchable.m_forms.remove(kFormSeparator);
  searchable.m_textLength = searchable.m_forms.size();
  searchable.m_bits = characterBits(searchable.m_forms);
  return searchable;
}

NameQuery::NameQuery(const QString& typed)
    : m_text(foldText(typed)),
      m_key(foldQuery(typed)),
      m_textMatcher(m_text),
      m_keyMatcher(m_key),
      m_textBits(characterBits(m_text)),
      m_keyBits(characterBits(m_key)) {}

QueryMatch NameQuery::match(const SearchableName& name) const {
  if (isEmpty()) return QueryMatch::Start;
  const QStringView forms(name.m_forms);
  const bool textMayMatch = mayHold(name.m_bits, m_textBits);
  const bool keyMayMatch = !m_key.isEmpty() && mayHold(name.m_bits, m_keyBits);
  // Mostly what was typed folds alike both ways, and one search covers all.
  if (m_text == m_key) return keyMayMatch ? matchIn(m_keyMatcher, forms) : QueryMatch::None;
  const QueryMatch inText = textMayMatch ? matchIn(m_textMatcher, forms.first(name.m_textLength))
                                         : QueryMatch::None;
  if (inText == QueryMatch::Start || !keyMayMatch) return inText;
  return std::max(inText, matchIn(m_keyMatcher, forms.sliced(name.m_textLength)));
}

}  // namespace playlists
