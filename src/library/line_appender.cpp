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
  // Keep a hand-edited last line whole instead of gluing the next onto it.
  if (bytes.endsWith('\n') || bytes.endsWith('\r')) return {};
  const QByteArray end = textfile::encodeAs(kLineEnd, m_encoding);
  if (m_file.write(end) != end.size() || !m_file.flush()) return failed();
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
