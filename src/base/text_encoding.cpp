#include "base/text_encoding.h"

#include <uchardet/uchardet.h>

#include <QStringDecoder>
#include <QStringEncoder>
#include <memory>
#include <optional>

namespace textfile {

namespace {

const QByteArray kUtf8Bom("\xef\xbb\xbf");
// The charset detector is sure of UTF-8 from this many non-ASCII characters
// on; below it the answer is a guess.
constexpr int kShortText = 6;
// What the detector reads of a long file: enough to tell, quick to read.
constexpr qsizetype kDetectorBytes = 1 << 20;

std::optional<QString> strictUtf8(const QByteArray& bytes) {
  QStringDecoder utf8(QStringDecoder::Utf8, QStringDecoder::Flag::Stateless);
  QString text = utf8(bytes);
  if (utf8.hasError()) return std::nullopt;
  return text;
}

QString decodeGbk(const QByteArray& bytes) {
  QStringDecoder gb("GB18030");
  return gb(bytes);
}

// Read as UTF-8, a short GBK text gives a few two-byte characters that make no
// name: marks, symbols, or letters of more than one script. Names in Cyrillic
// or accented Latin are letters of one script.
bool looksLikeMisreadGbk(const QString& utf8) {
  int nonAscii = 0;
  bool oneScript = true;
  QChar::Script script = QChar::Script_Unknown;
  for (const QChar c : utf8) {
    if (c.unicode() < 0x80) continue;
    if (c.unicode() >= 0x800 || ++nonAscii >= kShortText) return false;
    if (!c.isLetter() || (script != QChar::Script_Unknown && c.script() != script))
      oneScript = false;
    script = c.script();
  }
  return nonAscii > 0 && !oneScript;
}

bool detectorSaysChinese(const QByteArray& bytes) {
  const std::unique_ptr<std::remove_pointer_t<uchardet_t>, void (*)(uchardet_t)> detector(
      uchardet_new(), uchardet_delete);
  if (uchardet_handle_data(detector.get(), bytes.constData(),
                           static_cast<size_t>(qMin(bytes.size(), kDetectorBytes))) != 0) return false;
  uchardet_data_end(detector.get());
  const QByteArray answer(uchardet_get_charset(detector.get()));
  return answer.startsWith("GB") || answer == "HZ-GB-2312";
}

}  // namespace

Encoding detectEncoding(const QByteArray& bytes) {
  if (bytes.startsWith(kUtf8Bom)) return Encoding::Utf8;
  const auto utf8 = strictUtf8(bytes);
  if (!utf8) return Encoding::Gbk;
  // Plain ASCII is the same in both; the program writes GBK.
  if (utf8->size() == bytes.size()) return Encoding::Gbk;
  if (looksLikeMisreadGbk(*utf8) && !decodeGbk(bytes).contains(QChar::ReplacementCharacter))
    return Encoding::Gbk;
  return detectorSaysChinese(bytes) ? Encoding::Gbk : Encoding::Utf8;
}

QString decodeAs(const QByteArray& bytes, Encoding encoding) {
  if (encoding == Encoding::Gbk) return decodeGbk(bytes);
  // The decoder drops a byte order mark.
  QStringDecoder utf8(QStringDecoder::Utf8);
  return utf8(bytes);
}

QByteArray encodeAs(const QString& text, Encoding encoding) {
  if (encoding == Encoding::Utf8) return text.toUtf8();
  QStringEncoder gb("GB18030");
  return gb(text);
}

}  // namespace textfile
