#include "base/text_file.h"

#include <QFile>
#include <QFileInfo>
#include <QSaveFile>
#include <QStringDecoder>
#include <QStringEncoder>

namespace textfile {

QString decode(const QByteArray& bytes) {
  QStringDecoder utf8(QStringDecoder::Utf8, QStringDecoder::Flag::Stateless);
  QString text = utf8(bytes);
  if (!utf8.hasError()) {
    if (text.startsWith(QChar::ByteOrderMark)) text.remove(0, 1);
    return text;
  }
  QStringDecoder gb("GB18030");
  return gb(bytes);
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

bool write(const QString& path, const QString& text) {
  QStringEncoder gb("GB18030");
  return writeBytes(path, gb(text));
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
