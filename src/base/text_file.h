#pragma once

#include <QString>
#include <QStringList>
#include <functional>
#include <optional>

#include "base/text_encoding.h"

// Text files as the program keeps them: written in GB18030 (byte-identical to
// GBK for GBK text) with CR LF line ends, read in the encoding detectEncoding
// finds, with CR LF, LF or a lone CR ending a line. Every write holds the
// file's FileLock.
namespace textfile {

// The outcome of a write: why it failed, or nothing when it succeeded.
struct [[nodiscard]] WriteResult {
  QString error;
  explicit operator bool() const { return error.isEmpty(); }
};

// The whole text of a regular file, or nothing when it cannot be read.
std::optional<QString> read(const QString& path);
// The lines of a file (a final line end opens no line).
std::optional<QStringList> readLines(const QString& path);
// The lines of a text split at CR LF, LF and lone CR.
QStringList splitLines(const QString& text);
// Replaces the file with text, through a temporary file in the same folder:
// on failure the old file is left as it was.
WriteResult write(const QString& path, const QString& text);
// Adds text at the end of an existing file, in the file's own encoding,
// rewriting it whole. The file's bytes are kept exactly, even those that
// decode to nothing, except that it first ends in one complete CR LF line:
// trailing empty lines are dropped and an open last line is closed.
WriteResult append(const QString& path, const QString& text);
// Rewrites an existing file in its own encoding, in one write: a line for
// which edit() returns text is replaced by it, the other lines keep their
// bytes, and text is added at the end as append() adds it.
using LineEdit = std::function<std::optional<QString>(const QString& line)>;
WriteResult editLines(const QString& path, const LineEdit& edit, const QString& text);
// Replaces the file with bytes, the same way.
WriteResult writeBytes(const QString& path, const QByteArray& bytes);
// Writes each line followed by CR LF.
WriteResult writeLines(const QString& path, const QStringList& lines);
// Copies a file over another one, replacing it whole.
WriteResult copy(const QString& from, const QString& to);
// Decodes bytes the way read() does.
QString decode(const QByteArray& bytes);
// How a file is made to end in one complete CR LF line before more lines go
// after it: its first `keep` bytes stay, trailing empty lines are dropped,
// and `bytes` closes the last line (nothing for an empty file or a lone BOM),
// in UTF-16 when the file's byte order mark says so.
struct LastLineEnd {
  qsizetype keep = 0;
  QByteArray bytes;
};
LastLineEnd closeLastLine(const QByteArray& bytes);

}  // namespace textfile
