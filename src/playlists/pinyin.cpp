#include "playlists/pinyin.h"

#include <unicode/translit.h>
#include <unicode/unistr.h>

#include <QHash>
#include <QMutex>
#include <QStringList>
#include <algorithm>
#include <functional>
#include <memory>
#include <string_view>

#include "playlists/simplified_chinese.h"

namespace playlists {

namespace {

// Longer names are junk; their tails are not worth ICU's time.
constexpr qsizetype kMaxPinyinLength = 64;
// Runs kept before the cache starts over, a bound against hostile lists.
constexpr qsizetype kMaxCachedRuns = 200000;

// Words of channel and place names that ICU reads by the wrong one of their
// characters' readings (it takes 厦门 for "sha men", 成都 for "cheng dou").
struct Reading {
  std::u16string_view word;
  const char* syllables;
};
constexpr Reading kReadings[] = {
    {u"厦门", "xia men"},    {u"长沙", "chang sha"},  {u"长春", "chang chun"},
    {u"长江", "chang jiang"}, {u"长城", "chang cheng"}, {u"长安", "chang an"},
    {u"长治", "chang zhi"},  {u"成都", "cheng du"},   {u"首都", "shou du"},
    {u"都市", "du shi"},     {u"六安", "lu an"},      {u"六盘水", "liu pan shui"},
    {u"蚌埠", "beng bu"},    {u"番禺", "pan yu"},     {u"佛山", "fo shan"},
    {u"单县", "shan xian"},  {u"音乐", "yin yue"},    {u"乐清", "yue qing"},
    {u"调频", "tiao pin"},   {u"重温", "chong wen"},  {u"银行", "yin hang"},
    {u"还珠", "huan zhu"},   {u"藏语", "zang yu"},    {u"西藏", "xi zang"},
    {u"朝鲜", "chao xian"},  {u"纪录", "ji lu"},      {u"曲艺", "qu yi"},
    {u"戏曲", "xi qu"},      {u"解说", "jie shuo"},   {u"综艺", "zong yi"},
};

// The syllables of run, ICU's but for the words above.
QStringList withKnownReadings(const QString& run,
                              const std::function<QStringList(const QString&)>& icu) {
  QStringList syllables;
  qsizetype plain = 0;
  for (qsizetype i = 0; i < run.size();) {
    const auto known = std::find_if(std::begin(kReadings), std::end(kReadings), [&](const Reading& r) {
      return QStringView(run).sliced(i).startsWith(QStringView(r.word.data(), qsizetype(r.word.size())));
    });
    if (known == std::end(kReadings)) {
      ++i;
      continue;
    }
    if (i > plain) syllables += icu(run.mid(plain, i - plain));
    syllables += QString::fromLatin1(known->syllables).split(u' ');
    plain = i += qsizetype(known->word.size());
  }
  if (plain < run.size()) syllables += icu(run.mid(plain));
  return syllables;
}

// One transliterator for the process (creating one takes a tenth of a
// second) behind a lock, as ICU's transliterators are not thread-safe, with
// the syllables of every run of Chinese characters it has read.
class Transliteration {
 public:
  Transliteration() {
    UErrorCode status = U_ZERO_ERROR;
    m_transliterator.reset(icu::Transliterator::createInstance(
        icu::UnicodeString(u"Han-Latin; Latin-ASCII"), UTRANS_FORWARD, status));
    if (U_FAILURE(status)) m_transliterator.reset();
  }

  QStringList syllables(const QString& run) {
    const QMutexLocker lock(&m_mutex);
    if (const auto cached = m_runs.constFind(run); cached != m_runs.cend()) return *cached;
    if (m_runs.size() >= kMaxCachedRuns) m_runs.clear();
    const QStringList syllables = withKnownReadings(
        toSimplifiedChinese(run), [this](const QString& part) { return transliterate(part); });
    return m_runs.insert(run, syllables).value();
  }

 private:
  QStringList transliterate(const QString& run) const {
    if (!m_transliterator) return {};
    icu::UnicodeString text(reinterpret_cast<const char16_t*>(run.utf16()), int(run.size()));
    m_transliterator->transliterate(text);
    // ICU puts a space between syllables.
    QString latin(reinterpret_cast<const QChar*>(text.getBuffer()), text.length());
    latin = latin.toLower();
    latin.removeIf([](QChar c) { return !(c >= u'a' && c <= u'z') && c != u' '; });
    return latin.split(u' ', Qt::SkipEmptyParts);
  }

  QMutex m_mutex;
  std::unique_ptr<icu::Transliterator> m_transliterator;
  QHash<QString, QStringList> m_runs;
};

// How many UTF-16 units the code point at i takes, and whether it is Chinese.
struct CodePoint {
  qsizetype width;
  bool chinese;
};

CodePoint codePointAt(const QString& text, qsizetype i) {
  const bool pair =
      text[i].isHighSurrogate() && i + 1 < text.size() && text[i + 1].isLowSurrogate();
  const char32_t ucs4 = pair ? QChar::surrogateToUcs4(text[i], text[i + 1]) : text[i].unicode();
  return {pair ? 2 : 1, QChar::script(ucs4) == QChar::Script_Han};
}

bool isAsciiWordCharacter(QChar c) {
  return (c >= u'a' && c <= u'z') || (c >= u'0' && c <= u'9');
}

// Where the run of Chinese characters that starts at i ends.
qsizetype chineseRunEnd(const QString& text, qsizetype i) {
  for (CodePoint c; i < text.size() && (c = codePointAt(text, i)).chinese;) i += c.width;
  return i;
}

qsizetype asciiWordEnd(const QString& text, qsizetype i) {
  while (i < text.size() && isAsciiWordCharacter(text[i])) ++i;
  return i;
}

}  // namespace

Pinyin pinyinOf(const QString& name) {
  static Transliteration transliteration;
  const QString text =
      name.left(kMaxPinyinLength).normalized(QString::NormalizationForm_KC).toLower();
  Pinyin pinyin;
  for (qsizetype i = 0, end = 0; i < text.size(); i = end) {
    const CodePoint first = codePointAt(text, i);
    if (first.chinese) {
      end = chineseRunEnd(text, i);
      for (const QString& syllable : transliteration.syllables(text.mid(i, end - i))) {
        pinyin.full += syllable;
        pinyin.initials += syllable.front();
      }
    } else if (isAsciiWordCharacter(text[i])) {
      end = asciiWordEnd(text, i);
      pinyin.full += QStringView(text).mid(i, end - i);
      pinyin.initials += QStringView(text).mid(i, end - i);
    } else {
      end = i + first.width;
    }
  }
  return pinyin;
}

}  // namespace playlists
