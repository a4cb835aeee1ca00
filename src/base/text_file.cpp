#include "base/text_file.h"

#include <QFile>
#include <QFileInfo>
#include <QSaveFile>

#include "base/file_lock.h"
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

// The byte order mark a file starts with; empty when there is none.
QByteArray bomOf(const QByteArray& bytes) {
  const auto marked = bomEncoding(bytes);
  return marked ? encodeAs(QString(QChar::ByteOrderMark), *marked) : QByteArray();
}

// How CR and LF are written in a file's bytes: as bytes of their own in GBK
// and UTF-8 (never part of another character there), as units of two bytes
// in UTF-16, whose byte order mark says so.
struct LineEnds {
  explicit LineEnds(const QByteArray& bytes)
      : encoding(bomEncoding(bytes).value_or(Encoding::Gbk)),
        cr(encodeAs(QStringLiteral("\r"), encoding)),
        lf(encodeAs(QStringLiteral("\n"), encoding)) {}
  // The length of the line end at i: CR LF, CR or LF; 0 when none is there.
  qsizetype at(const QByteArray& bytes, qsizetype i) const {
    const QByteArrayView rest = QByteArrayView(bytes).sliced(i);
    if (rest.startsWith(cr)) return rest.sliced(cr.size()).startsWith(lf) ? 2 * unit() : unit();
    return rest.startsWith(lf) ? unit() : 0;
  }
  qsizetype unit() const { return lf.size(); }
  Encoding encoding;
  QByteArray cr, lf;
};

// The lines of a file's bytes with those edit() returns text for replaced;
// the other lines and every line end are kept as they are.
QByteArray editedLines(const QByteArray& bytes, Encoding encoding, const LineEdit& edit) {
  const LineEnds ends(bytes);
  QByteArray out = bomOf(bytes);
  qsizetype start = out.size();
  const auto take = [&](qsizetype end) {
    const QByteArray line = bytes.sliced(start, end - start);
    const auto replaced = edit(decodeAs(line, encoding));
    out += replaced ? encodeAs(*replaced, encoding) : line;
  };
  for (qsizetype i = start; i + ends.unit() <= bytes.size();) {
    const qsizetype end = ends.at(bytes, i);
    if (end == 0) {
      i += ends.unit();
      continue;
    }
    take(i);
    out += bytes.sliced(i, end);
    start = i += end;
  }
  if (start < bytes.size()) take(bytes.size());
  return out;
}

}  // namespace

LastLineEnd closeLastLine(const QByteArray& bytes) {
  const LineEnds ends(bytes);
  const qsizetype bom = bomOf(bytes).size();
  qsizetype keep = bytes.size();
  while (keep - ends.unit() >= bom) {
    const QByteArrayView last = QByteArrayView(bytes).sliced(keep - ends.unit(), ends.unit());
    if (last != ends.cr && last != ends.lf) break;
    keep -= ends.unit();
  }
  if (keep == bom) return {keep, {}};
  return {keep, ends.cr + ends.lf};
}

WriteResult writeBytes(const QString& path, const QByteArray& bytes) {
  const FileLock lock(path);
  if (!lock) return {lock.error()};
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

WriteResult append(const QString& path, const QString& text) { return editLines(path, {}, text); }

WriteResult editLines(const QString& path, const LineEdit& edit, const QString& text) {
  const FileLock lock(path);
  if (!lock) return {lock.error()};
  const auto file = readBytes(path);
  if (!file.bytes) return {file.error};
  const Encoding encoding = detectEncoding(*file.bytes);
  const QByteArray bytes = edit ? editedLines(*file.bytes, encoding, edit) : *file.bytes;
  const LastLineEnd end = closeLastLine(bytes);
  return writeBytes(path, bytes.left(end.keep) + end.bytes + encodeAs(text, encoding));
}

WriteResult writeLines(const QString& path, const QStringList& lines) {
  QString text;
  for (const QString& line : lines) text += line + QStringLiteral("\r\n");
  return write(path, text);
}

WriteResult copy(const QString& from, const QString& to) {
  // Never half of a line another process is appending to the source.
  const FileLock lock(from);
  if (!lock) return {lock.error()};
  const auto file = readBytes(from);
  if (!file.bytes) return {file.error};
  return writeBytes(to, *file.bytes);
}

}  // namespace textfile
