#pragma once

#include <QByteArray>
#include <QString>
#include <optional>

// The encodings the program reads and keeps: GBK (as GB18030, which is
// byte-identical for GBK text and encodes every character), UTF-8, and
// UTF-16 in either byte order for files that start with its byte order mark.
namespace textfile {

enum class Encoding { Gbk, Utf8, Utf16Le, Utf16Be };

// The encoding of a file's bytes. A byte order mark says it; bytes that are
// not UTF-8 are GBK. Bytes valid in both are GBK, the program's own
// convention, unless GBK cannot read them, or their UTF-8 reading is names
// and their GBK reading is not: characters outside GB2312's hanzi and
// punctuation (where UTF-8 Chinese falls), or hanzi where UTF-8 has accented
// letters inside Latin words (Café). Plain ASCII is GBK. Where both
// readings could be names and GBK holds rarer characters, the charset
// detector decides.
Encoding detectEncoding(const QByteArray& bytes);

// The encoding a byte order mark at the start of bytes names, if any; a
// UTF-16 mark counts only before text with zero bytes in it, as all UTF-16
// text with ASCII in it has.
std::optional<Encoding> bomEncoding(QByteArrayView bytes);

// Decoding drops a byte order mark; encoding never writes one.
QString decodeAs(const QByteArray& bytes, Encoding encoding);
QByteArray encodeAs(const QString& text, Encoding encoding);

}  // namespace textfile
