#pragma once

#include <QString>
#include <QStringMatcher>

namespace playlists {

// How well what the user types finds a name.
enum class QueryMatch { None, Inside, Start };

// A text as the plain substring match compares it: full-width forms made
// half-width and case folded, everything else kept: "ＣＣＴＶ－５" → "cctv-5".
QString foldText(const QString& text);

// A typed query as channel keys and pinyin are compared with it: folded like
// a name (full-width, traditional, case) with only letters, digits and "+"
// kept: "CCTV-5" → "cctv5".
QString foldQuery(const QString& query);

// A name in the forms typed queries are compared with, made once per name
// (about ten microseconds for a station name), so that a keystroke only
// searches.
class SearchableName {
 public:
  SearchableName() = default;
  // A station name with its channel key (ChannelNames::key): found by
  // substring of its folded text, and by the key, its full pinyin and its
  // pinyin initials ("CCTV-5 体育" by "-5 体", "cctv5", "cctv5tiyu",
  // "cctv5ty"; "湖南卫视" by "hunan" and "hnws").
  static SearchableName ofName(const QString& name, const QString& key);
  // Any other text, an address: found by substring of its folded text only.
  static SearchableName ofText(const QString& text);

 private:
  friend class NameQuery;
  // The folded text, then each other form after a separator.
  QString m_forms;
  qsizetype m_textLength = 0;
  quint64 m_bits = 0;  // the characters of the forms
};

// What the user typed, made ready once to be compared with many names.
class NameQuery {
 public:
  explicit NameQuery(const QString& typed);

  // True when the typed text folds to nothing.
  bool isEmpty() const { return m_text.isEmpty(); }
  // Start when the folded typed text starts the name's folded text, or its
  // key folding starts the channel key, the full pinyin or the initials;
  // Inside when either is found further in; the best of them. An empty
  // query finds every name at its start.
  QueryMatch match(const SearchableName& name) const;

 private:
  QString m_text;
  QString m_key;
  QStringMatcher m_textMatcher;
  QStringMatcher m_keyMatcher;
  quint64 m_textBits;
  quint64 m_keyBits;
};

}  // namespace playlists
