#include "playlists/simplified_chinese.h"

#include <opencc/Config.hpp>
#include <opencc/Conversion.hpp>
#include <opencc/ConversionChain.hpp>
#include <opencc/Converter.hpp>
#include <opencc/Dict.hpp>
#include <opencc/DictEntry.hpp>
#include <opencc/Lexicon.hpp>

#include <QHash>

#include <algorithm>
#include <bitset>
#include <memory>

namespace playlists {

namespace {

// Runs each thread keeps before it starts over, and the longest it keeps: a
// bound against hostile lists.
constexpr qsizetype kMaxCachedRuns = 100000;
constexpr qsizetype kMaxCachedRunLength = 64;

// The converter, made once (loading its dictionaries is costly) and shared:
// OpenCC converts from several threads at once on a const converter.
class Converter {
 public:
  Converter() {
    try {
      opencc::Config config;
      m_converter = config.NewFromFile("t2s.json");
      markChangingCharacters();
    } catch (...) {
      m_converter.reset();
    }
  }

  // No dictionary entry holds an ASCII character, so the text converts run
  // by run of other characters; a list's names share their runs ("鳳凰衛視"
  // in "鳳凰衛視 HD 2").
  QString convert(const QString& text) const {
    if (!m_converter || !mayChange(text)) return text;
    QString out;
    out.reserve(text.size());
    for (qsizetype i = 0; i < text.size();) {
      const bool ascii = isAscii(text[i]);
      qsizetype end = i + 1;
      while (end < text.size() && isAscii(text[end]) == ascii) ++end;
      const QString run = text.mid(i, end - i);
      out += ascii ? run : convertRun(run);
      i = end;
    }
    return out;
  }

 private:
  // Most names are simplified already; the conversion, a few microseconds a
  // name, is skipped for text without a character any dictionary entry
  // changes. Characters outside the BMP always go through OpenCC.
  void markChangingCharacters() {
    for (const opencc::ConversionPtr& conversion :
         m_converter->GetConversionChain()->GetConversions()) {
      const opencc::LexiconPtr lexicon = conversion->GetDict()->GetLexicon();
      for (const std::unique_ptr<opencc::DictEntry>& entry : *lexicon)
        markChanges(QString::fromStdString(entry->Key()),
                    QString::fromStdString(entry->GetDefault()));
    }
  }

  // Marks the characters of key that its value changes (all of them when
  // the lengths differ), the only ones that can make the entry matter.
  void markChanges(const QString& key, const QString& value) {
    for (qsizetype i = 0; i < key.size(); ++i) {
      if (key.size() != value.size() || key[i] != value[i]) m_changing.set(key[i].unicode());
    }
  }

  static bool isAscii(QChar c) { return c.unicode() < 0x80; }

  // Each thread keeps the runs of names it has converted.
  QString convertRun(const QString& run) const {
    if (!mayChange(run)) return run;
    if (run.size() > kMaxCachedRunLength) return convertNow(run);
    thread_local QHash<QString, QString> converted;
    if (const auto known = converted.constFind(run); known != converted.cend()) return *known;
    if (converted.size() >= kMaxCachedRuns) converted.clear();
    return *converted.insert(run, convertNow(run));
  }

  QString convertNow(const QString& run) const {
    return QString::fromStdString(m_converter->Convert(run.toStdString()));
  }

  bool mayChange(const QString& text) const {
    return std::any_of(text.begin(), text.end(), [this](QChar c) {
      return c.isSurrogate() || m_changing.test(c.unicode());
    });
  }

  opencc::ConverterPtr m_converter;
  std::bitset<0x10000> m_changing;
};

}  // namespace

QString toSimplifiedChinese(const QString& text) {
  static const Converter converter;
  return converter.convert(text);
}

}  // namespace playlists
