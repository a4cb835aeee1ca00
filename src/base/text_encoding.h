#pragma once

#include <QByteArray>
#include <QString>

// The two encodings the program reads and keeps: GBK (as GB18030, which is
// byte-identical for GBK text and encodes every character) and UTF-8.
namespace textfile {

enum class Encoding { Gbk, Utf8 };

// The encoding of a file's bytes: UTF-8 with a byte order mark; GBK when the
// bytes are not UTF-8; otherwise the charset detector's answer, except that
// short text which reads as a few odd characters in UTF-8 and as Chinese in
// GBK stays GBK.
Encoding detectEncoding(const QByteArray& bytes);

QString decodeAs(const QByteArray& bytes, Encoding encoding);
QByteArray encodeAs(const QString& text, Encoding encoding);

}  // namespace textfile
