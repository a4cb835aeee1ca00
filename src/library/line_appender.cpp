#include "library/line_appender.h"

namespace library {

namespace {

const QString kLineEnd = QStringLiteral("\r\n");

}  // namespace

LineAppender::LineAppender(QString path) : m_path(std::move(path)), m_file(m_path) {}

textfile::WriteResult LineAppender::failed() const {
  return {m_file.errorString().isEmpty() ? QStringLiteral("unknown error") : m_file.errorString()};
}

textfile::WriteResult LineAppender::open() {
  if (!m_file.open(QIODevice::ReadWrite | QIODevice::Append)) return failed();
  // Append mode starts at the end; the lines already there are read first.
  m_file.seek(0);
  const QByteArray bytes = m_file.readAll();
  if (bytes.isEmpty()) return {};
  m_encoding = textfile::detectEncoding(bytes);
  const QString text = textfile::decodeAs(bytes, m_encoding);
  for (const QString& line : textfile::splitLines(text)) m_lines.insert(line);
  // Keep a hand-edited last line whole instead of gluing the next onto it,
  // and drop trailing empty lines: the window's loader stops at the first.
  const textfile::LastLineEnd end = textfile::closeLastLine(bytes);
  if (bytes.sliced(end.keep) == end.bytes) return {};
  if (!m_file.resize(end.keep)) return failed();
  if (m_file.write(end.bytes) != end.bytes.size() || !m_file.flush()) return failed();
  return {};
}

textfile::WriteResult LineAppender::append(const QString& line) {
  if (line.isEmpty() || m_lines.contains(line)) return {};
  m_lines.insert(line);
  const QByteArray bytes = textfile::encodeAs(line + kLineEnd, m_encoding);
  if (m_file.write(bytes) != bytes.size() || !m_file.flush()) return failed();
  return {};
}

}  // namespace library
