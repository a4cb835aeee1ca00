#include "playlists/channel_key.h"

#include <QRegularExpression>
#include <algorithm>
#include <string_view>

#include "playlists/simplified_chinese.h"

namespace playlists {

namespace {

// A bracketed part longer than this is part of the name, not a note.
constexpr qsizetype kMaxNoteLength = 32;

constexpr std::u16string_view kOpenBrackets = u"([【「『〔";
constexpr std::u16string_view kCloseBrackets = u")]】」』〕";

bool isOpenBracket(QChar c) { return kOpenBrackets.find(c.unicode()) != kOpenBrackets.npos; }
bool isCloseBracket(QChar c) { return kCloseBrackets.find(c.unicode()) != kCloseBrackets.npos; }

// What keeps words apart without being part of a name: spaces, dashes,
// bars, middle dots, and brackets left over from notes.
constexpr std::u16string_view kSeparators =
    u"-_|\u00b7\u2022\u30fb\u2010\u2011\u2012\u2013\u2014\u2015\u2212";

bool isSeparator(QChar c) {
  return c.isSpace() || kSeparators.find(c.unicode()) != kSeparators.npos || isOpenBracket(c) ||
         isCloseBracket(c);
}

bool isAsciiLetter(QChar c) { return c >= u'a' && c <= u'z'; }
bool isAsciiDigit(QChar c) { return c >= u'0' && c <= u'9'; }

QString withoutSeparators(QString text) {
  text.removeIf(isSeparator);
  return text;
}

void trimTrailingSeparators(QString& text) {
  qsizetype end = text.size();
  while (end > 0 && isSeparator(text[end - 1])) --end;
  text.truncate(end);
}

// Words that describe a line rather than a channel: its picture, codec and
// network, that it is a spare, and the word "channel". ASCII words stand
// apart from letters before them (so "cctv6" keeps its "v6").
const QRegularExpression& fillerWord() {
  static const QRegularExpression word(
      QStringLiteral("(?:(?<![a-z])(?:[fu]?hd|sd|hdr|hevc|h26[45]|ipv[46]|v[46]|line\\d*)"
                     "|(?<![a-z0-9])(?:\\d{3,4}[pi]|\\d{2,3}fps|\\d{3,4}x\\d{3,4})|#\\d{1,2}"
                     "|超高清|高清|超清|标清|普清|蓝光|原画|高码|频道|电信|联通|移动"
                     "|备用\\d*|备\\d*|线路\\d*)\\z"));
  return word;
}

// "4k" or "8k" that ends a name is its picture; right after letters it is
// a channel of its own ("cctv4k", "cctv-8k").
bool endsWithPictureSize(const QString& text) {
  if (!text.endsWith(u"4k") && !text.endsWith(u"8k")) return false;
  qsizetype end = text.size() - 2;
  if (end > 0 && isAsciiDigit(text[end - 1])) return false;
  while (end > 0 && isSeparator(text[end - 1])) --end;
  return end > 0 && !isAsciiLetter(text[end - 1]);
}

// Where a line number that ends text starts, or -1: one or two digits set
// apart from a name that has a number of its own or ends in 卫视 ("cctv-1 2",
// "cctv-5+_3", "湖南卫视-2"). "cctv 1" and "沧州-1" keep theirs.
qsizetype lineNumberStart(const QString& text) {
  qsizetype start = text.size();
  while (start > 0 && isAsciiDigit(text[start - 1])) --start;
  if (start == text.size() || text.size() - start > 2) return -1;
  qsizetype name = start;
  while (name > 0 && isSeparator(text[name - 1])) --name;
  if (name == start || name == 0) return -1;
  const QStringView before = QStringView(text).first(name);
  const bool numbered = std::any_of(before.begin(), before.end(), isAsciiDigit);
  return numbered || before.endsWith(u"卫视") ? start : -1;
}

// Where the filler word that ends text starts, or -1. Only the tail is
// searched, so that a long name of fillers takes linear time.
qsizetype fillerStart(const QString& text) {
  constexpr qsizetype kLongestFiller = 16;
  const QRegularExpressionMatch match =
      fillerWord().match(text, std::max<qsizetype>(0, text.size() - kLongestFiller));
  if (match.hasMatch()) return match.capturedStart();
  if (endsWithPictureSize(text)) return text.size() - 2;
  if (const qsizetype line = lineNumberStart(text); line >= 0) return line;
  if (text.endsWith(u'台')) return text.size() - 1;
  return -1;
}

// Drops filler words from the end of text; with keepSomething never the
// last word that is left.
QString withoutTrailingFillers(QString text, bool keepSomething) {
  const qsizetype firstWord =
      std::find_if_not(text.cbegin(), text.cend(), isSeparator) - text.cbegin();
  for (;;) {
    trimTrailingSeparators(text);
    const qsizetype start = fillerStart(text);
    if (start < 0 || (keepSomething && start <= firstWord)) return text;
    text.truncate(start);
  }
}

// A bracketed part that says nothing about the channel: filler words only,
// a line number, or a note on where it plays.
bool isNote(const QString& part) {
  const QString rest = withoutSeparators(withoutTrailingFillers(part, false));
  return rest.isEmpty() || std::all_of(rest.begin(), rest.end(), isAsciiDigit) ||
         rest == u"geoblocked" || rest == u"not24/7";
}

// The text with bracketed notes dropped; other brackets stay, as separators.
QString withoutNotes(const QString& text) {
  if (std::none_of(text.begin(), text.end(), isCloseBracket)) return text;
  QString out;
  out.reserve(text.size());
  QList<qsizetype> opened;
  for (const QChar c : text) {
    out += c;
    if (isOpenBracket(c)) {
      opened.append(out.size());
    } else if (isCloseBracket(c) && !opened.isEmpty()) {
      const qsizetype start = opened.takeLast();
      const qsizetype length = out.size() - 1 - start;
      if (length <= kMaxNoteLength && isNote(out.mid(start, length))) out.truncate(start);
    }
  }
  return out;
}

}  // namespace

QString foldChannelName(const QString& name) {
  return toSimplifiedChinese(name.normalized(QString::NormalizationForm_KC)).toLower();
}

QString keyOfFoldedName(const QString& folded) {
  const QString key = withoutSeparators(withoutTrailingFillers(withoutNotes(folded), true));
  return key.isEmpty() ? withoutSeparators(folded) : key;
}

QString channelKey(const QString& name) { return keyOfFoldedName(foldChannelName(name)); }

}  // namespace playlists
