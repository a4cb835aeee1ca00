#include "base/text_file.h"

#include <QFile>
#include <QFileInfo>
#include <QSaveFile>
#include <QStringDecoder>
#include <QStringEncoder>

namespace textfile {

namespace {

// Short GBK text can happen to be valid UTF-8. Read that way it is mostly
// two-byte sequences, where Chinese written in UTF-8 is mostly three-byte.
bool mayBeMisreadGbk(const QString& text) {
  qsizetype twoByte = 0, wider = 0;
  for (const QChar c : text) {
    if (c.unicode() < 0x80) continue;
    ++(c.unicode() < 0x800 ? twoByte : wider);
  }
  return twoByte > wider;
}

QString decodeGbk(const QByteArray& bytes) {
  QStringDecoder gb("GB18030");
  return gb(bytes);
}

// The text of valid UTF-8 bytes, or nothing when they should be read as GBK.
std::optional<QString> decodeUtf8(const QByteArray& bytes) {
  QStringDecoder utf8(QStringDecoder::Utf8, QStringDecoder::Flag::Stateless);
  QString text = utf8(bytes);
  if (utf8.hasError()) return std::nullopt;
  if (text.startsWith(QChar::ByteOrderMark)) return text.remove(0, 1);
  if (mayBeMisreadGbk(text) && !decodeGbk(bytes).contains(QChar::ReplacementCharacter))
    return std::nullopt;
  return text;
}

QByteArray encode(const QString& text) {
  QStringEncoder gb("GB18030");
  return gb(text);
}

}  // namespace

QString decode(const QByteArray& bytes) {
  if (auto text = decodeUtf8(bytes)) return *std::move(text);
  return decodeGbk(bytes);
}

static std::optional<QByteArray> readBytes(const QString& path) {
  if (!QFileInfo(path).isFile()) return std::nullopt;
  QFile file(path);
  if (!file.open(QIODevice::ReadOnly)) return std::nullopt;
  return file.readAll();
}

std::optional<QString> read(const QString& path) {
  const auto bytes = readBytes(path);
  if (!bytes) return std::nullopt;
  return decode(*bytes);
}

std::optional<QStringList> readLines(const QString& path) {
  const auto text = read(path);
  if (!text) return std::nullopt;
  QStringList lines = text->split(u'\n');
  for (QString& line : lines)
    if (line.endsWith(u'\r')) line.chop(1);
  if (!lines.isEmpty() && lines.back().isEmpty()) lines.removeLast();
  return lines;
}

static bool writeBytes(const QString& path, const QByteArray& bytes) {
  QSaveFile file(path);
  if (!file.open(QIODevice::WriteOnly)) return false;
  if (file.write(bytes) != bytes.size()) {
    file.cancelWriting();
    return false;
  }
  return file.commit();
}

bool write(const QString& path, const QString& text) { return writeBytes(path, encode(text)); }

bool append(const QString& path, const QString& text) {
  const auto bytes = readBytes(path);
  if (!bytes) return false;
  if (const auto utf8 = decodeUtf8(*bytes)) return write(path, *utf8 + text);
  return writeBytes(path, *bytes + encode(text));
}

bool writeLines(const QString& path, const QStringList& lines) {
  QString text;
  for (const QString& line : lines) text += line + QStringLiteral("\r\n");
  return write(path, text);
}

bool copy(const QString& from, const QString& to) {
  const auto bytes = readBytes(from);
  return bytes && writeBytes(to, *bytes);
}

}  // namespace textfile
