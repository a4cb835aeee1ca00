#include "base/text_encoding.h"

#include <uchardet/uchardet.h>

#include <QStringDecoder>
#include <QStringEncoder>
#include <algorithm>
#include <memory>

namespace textfile {

namespace {

// What the checks and the detector read of a long file: enough to tell,
// quick to read.
constexpr qsizetype kSampleBytes = 1 << 20;

bool isUtf8(const QByteArray& bytes) {
  QStringDecoder utf8(QStringDecoder::Utf8, QStringDecoder::Flag::Stateless);
  // The decoder finds errors only while it makes the text.
  const QString text = utf8.decode(bytes);
  return !utf8.hasError();
}

QString decodeGbk(QByteArrayView bytes) {
  QStringDecoder gb("GB18030");
  return gb(bytes);
}

// Whole lines from the first one that is not ASCII on, at most
// kSampleBytes of them; empty for plain ASCII.
QByteArrayView sampleOf(const QByteArray& bytes) {
  const auto firstNonAscii =
      std::find_if(bytes.begin(), bytes.end(), [](char c) { return uchar(c) >= 0x80; });
  if (firstNonAscii == bytes.end()) return {};
  const qsizetype start = bytes.lastIndexOf('\n', firstNonAscii - bytes.begin()) + 1;
  const QByteArrayView sample = QByteArrayView(bytes).sliced(start).first(
      qMin(bytes.size() - start, kSampleBytes));
  const qsizetype end = sample.size() < kSampleBytes ? -1 : sample.lastIndexOf('\n');
  return end < 0 ? sample : sample.first(end + 1);
}

// GB2312's rows of punctuation and full-width forms (A1-A3) and of hanzi
// (B0-F7), in which Chinese names are written. UTF-8 read as GBK leaves
// them within a few characters: its continuation bytes are 80-BF.
bool readsAsCommonChinese(QByteArrayView bytes) {
  for (qsizetype i = 0; i < bytes.size(); ++i) {
    const auto lead = uchar(bytes[i]);
    if (lead < 0x80) continue;
    if (++i == bytes.size()) return false;
    const auto trail = uchar(bytes[i]);
    const bool row = (lead >= 0xa1 && lead <= 0xa3) || (lead >= 0xb0 && lead <= 0xf7);
    if (!row || trail < 0xa1 || trail == 0xff) return false;
  }
  return true;
}

char32_t codePointAt(QStringView text, qsizetype& i) {
  if (text[i].isHighSurrogate() && i + 1 < text.size() && text[i + 1].isLowSurrogate()) {
    i += 1;
    return QChar::surrogateToUcs4(text[i - 1], text[i]);
  }
  return text[i].unicode();
}

// Read as UTF-8, GBK bytes mostly give characters that make no name:
// combining marks, controls, symbols, or letters of more than one alphabet.
// Hanzi and the punctuation and symbols from U+2000 on go with any.
bool readsAsNames(QStringView text) {
  QChar::Script alphabet = QChar::Script_Unknown;
  for (qsizetype i = 0; i < text.size(); ++i) {
    const char32_t c = codePointAt(text, i);
    if (c < 0x80) continue;
    const QChar::Script script = QChar::script(c);
    if (script == QChar::Script_Han && QChar::isLetter(c)) continue;
    if (c >= 0x2000 && (QChar::isPunct(c) || QChar::isSymbol(c))) continue;
    if (!QChar::isLetter(c) || (alphabet != QChar::Script_Unknown && script != alphabet))
      return false;
    alphabet = script;
  }
  return true;
}

bool isAsciiLetter(QChar c) { return c.unicode() < 0x80 && c.isLetter(); }

// A Latin letter beyond ASCII beside an ASCII one: an accented word (Café,
// Zürich), whose UTF-8 GBK also reads as common hanzi. A letter of another
// alphabet glued to ASCII ("aһ", which is GBK's "a一") makes no word.
bool hasAccentedWord(QStringView text) {
  for (qsizetype i = 0; i < text.size(); ++i) {
    if (text[i].unicode() < 0x80 || !text[i].isLetter() || text[i].script() != QChar::Script_Latin)
      continue;
    if ((i > 0 && isAsciiLetter(text[i - 1])) ||
        (i + 1 < text.size() && isAsciiLetter(text[i + 1])))
      return true;
  }
  return false;
}

bool detectorSaysChinese(QByteArrayView bytes) {
  const std::unique_ptr<std::remove_pointer_t<uchardet_t>, void (*)(uchardet_t)> detector(
      uchardet_new(), uchardet_delete);
  if (uchardet_handle_data(detector.get(), bytes.constData(), static_cast<size_t>(bytes.size())) != 0)
    return false;
  uchardet_data_end(detector.get());
  const QByteArray answer(uchardet_get_charset(detector.get()));
  return answer.startsWith("GB") || answer == "HZ-GB-2312";
}

}  // namespace

std::optional<Encoding> bomEncoding(QByteArrayView bytes) {
  if (bytes.startsWith(encodeAs(QString(QChar::ByteOrderMark), Encoding::Utf8)))
    return Encoding::Utf8;
  // Text in UTF-16 holds zero bytes (every ASCII character has one), text in
  // GBK or UTF-8 none: a damaged file that happens to start with FF FE is
  // no UTF-16.
  const QByteArrayView text = bytes.sliced(qMin<qsizetype>(2, bytes.size()));
  if (!text.isEmpty() && !text.contains('\0')) return std::nullopt;
  for (Encoding encoding : {Encoding::Utf16Le, Encoding::Utf16Be})
    if (bytes.startsWith(encodeAs(QString(QChar::ByteOrderMark), encoding))) return encoding;
  return std::nullopt;
}

Encoding detectEncoding(const QByteArray& bytes) {
  if (const auto marked = bomEncoding(bytes)) return *marked;
  if (!isUtf8(bytes)) return Encoding::Gbk;
  const QByteArrayView sample = sampleOf(bytes);
  if (sample.isEmpty()) return Encoding::Gbk;
  if (decodeGbk(sample).contains(QChar::ReplacementCharacter)) return Encoding::Utf8;
  const QString utf8 = QString::fromUtf8(sample);
  if (!readsAsNames(utf8)) return Encoding::Gbk;
  if (readsAsCommonChinese(sample)) return hasAccentedWord(utf8) ? Encoding::Utf8 : Encoding::Gbk;
  return detectorSaysChinese(sample) ? Encoding::Gbk : Encoding::Utf8;
}

QString decodeAs(const QByteArray& bytes, Encoding encoding) {
  switch (encoding) {
    case Encoding::Gbk: return decodeGbk(bytes);
    case Encoding::Utf8: return QStringDecoder(QStringDecoder::Utf8)(bytes);
    case Encoding::Utf16Le: return QStringDecoder(QStringDecoder::Utf16LE)(bytes);
    case Encoding::Utf16Be: return QStringDecoder(QStringDecoder::Utf16BE)(bytes);
  }
  return {};
}

QByteArray encodeAs(const QString& text, Encoding encoding) {
  switch (encoding) {
    case Encoding::Gbk: return QStringEncoder("GB18030")(text);
    case Encoding::Utf8: return text.toUtf8();
    case Encoding::Utf16Le: return QStringEncoder(QStringEncoder::Utf16LE)(text);
    case Encoding::Utf16Be: return QStringEncoder(QStringEncoder::Utf16BE)(text);
  }
  return {};
}

}  // namespace textfile
