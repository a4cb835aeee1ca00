#pragma once

#include <QString>
#include <QStringList>
#include <optional>

// Text files as the program keeps them: written in GB18030 (byte-identical to
// GBK for GBK text) with CR LF line ends, read as UTF-8 when the bytes are
// valid UTF-8 and as GB18030 otherwise (also when GBK bytes merely happen to
// form UTF-8: then they decode cleanly as GBK and mostly as two-byte UTF-8).
namespace textfile {

// The whole text of a regular file, or nothing when it cannot be read.
std::optional<QString> read(const QString& path);
// The lines of a file (CR LF or LF ends; a final line end opens no line).
std::optional<QStringList> readLines(const QString& path);
// Replaces the file with text, through a temporary file in the same folder:
// on failure the old file is left as it was.
bool write(const QString& path, const QString& text);
// Adds text at the end of an existing file, rewriting it whole. A file read
// as GBK keeps its bytes exactly, even those that decode to nothing; a UTF-8
// file is rewritten in GBK whole, so it never mixes two encodings.
bool append(const QString& path, const QString& text);
// Writes each line followed by CR LF.
bool writeLines(const QString& path, const QStringList& lines);
// Copies a file over another one, replacing it whole.
bool copy(const QString& from, const QString& to);
// Decodes bytes the way read() does.
QString decode(const QByteArray& bytes);

}  // namespace textfile
