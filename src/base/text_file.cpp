#include "base/text_file.h"

#include <QFile>
#include <QFileInfo>
#include <QSaveFile>

#include "base/text_lines.h"

namespace textfile {

namespace {

struct Bytes {
  std::optional<QByteArray> bytes;
  QString error;
};

Bytes readBytes(const QString& path) {
  if (!QFileInfo(path).isFile()) return {std::nullopt, QStringLiteral("not a file")};
  QFile file(path);
  if (!file.open(QIODevice::ReadOnly)) return {std::nullopt, file.errorString()};
  QByteArray bytes = file.readAll();
  // A read that failed part way must not pass for a shorter file.
  if (file.error() != QFileDevice::NoError) return {std::nullopt, file.errorString()};
  return {std::move(bytes), {}};
}

WriteResult failure(const QFileDevice& file) {
  const QString reason = file.errorString();
  return {reason.isEmpty() ? QStringLiteral("unknown error") : reason};
}

}  // namespace

// CR and LF are never part of a GBK or UTF-8 character, so the file's end
// can be mended byte by byte.
LastLineEnd closeLastLine(const QByteArray& bytes) {
  qsizetype keep = bytes.size();
  while (keep > 0 && (bytes[keep - 1] == '\n' || bytes[keep - 1] == '\r')) --keep;
  const QByteArrayView content(bytes.constData(), keep);
  if (content.isEmpty() || content == "\xef\xbb\xbf") return {keep, {}};
  return {keep, QByteArrayLiteral("\r\n")};
}

WriteResult writeBytes(const QString& path, const QByteArray& bytes) {
  QSaveFile file(path);
  if (!file.open(QIODevice::WriteOnly)) return failure(file);
  if (file.write(bytes) != bytes.size()) {
    WriteResult result = failure(file);
    file.cancelWriting();
    return result;
  }
  if (!file.commit()) return failure(file);
  return {};
}

QString decode(const QByteArray& bytes) { return decodeAs(bytes, detectEncoding(bytes)); }

std::optional<QString> read(const QString& path) {
  const auto file = readBytes(path);
  if (!file.bytes) return std::nullopt;
  return decode(*file.bytes);
}

QStringList splitLines(const QString& text) {
  QStringList lines;
  forEachLine(text, [&lines](int, QStringView line) { lines << line.toString(); });
  return lines;
}

std::optional<QStringList> readLines(const QString& path) {
  const auto text = read(path);
  if (!text) return std::nullopt;
  return splitLines(*text);
}

WriteResult write(const QString& path, const QString& text) {
  return writeBytes(path, encodeAs(text, Encoding::Gbk));
}

WriteResult append(const QString& path, const QString& text) {
  const auto file = readBytes(path);
  if (!file.bytes) return {file.error};
  const Encoding encoding = detectEncoding(*file.bytes);
  const LastLineEnd end = closeLastLine(*file.bytes);
  return writeBytes(path, file.bytes->left(end.keep) + end.bytes + encodeAs(text, encoding));
}

WriteResult writeLines(const QString& path, const QStringList& lines) {
  QString text;
  for (const QString& line : lines) text += line + QStringLiteral("\r\n");
  return write(path, text);
}

WriteResult copy(const QString& from, const QString& to) {
  const auto file = readBytes(from);
  if (!file.bytes) return {file.error};
  return writeBytes(to, *file.bytes);
}

}  // namespace textfile
