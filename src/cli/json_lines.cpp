#include "cli/json_lines.h"

#include <QJsonDocument>

namespace cli {

namespace {

std::optional<QJsonObject> objectOf(QByteArrayView line) {
  const QJsonDocument d = QJsonDocument::fromJson(QByteArray::fromRawData(line.data(), line.size()));
  if (!d.isObject()) return std::nullopt;
  return d.object();
}

}  // namespace

std::optional<QByteArrayView> JsonLinesReader::readLine() {
  // One buffer for every line: a line costs no allocation of its own.
  m_line.resize(kMaxLineBytes + 1);
  const qint64 size = m_file.readLine(m_line.data(), m_line.size());
  const QByteArrayView line(m_line.constData(), std::max<qint64>(size, 0));
  if (line.endsWith('\n') || m_file.atEnd()) return line;
  // Too long for a result: skipped to its end, unread.
  for (qint64 n = size; n > 0 && m_line[n - 1] != '\n' && !m_file.atEnd();)
    n = m_file.readLine(m_line.data(), m_line.size());
  return std::nullopt;
}

std::optional<JsonLinesReader::Line> JsonLinesReader::next() {
  if (m_file.atEnd()) return std::nullopt;
  Line line;
  line.number = ++m_number;
  line.offset = m_file.pos();
  const auto text = readLine();
  line.blank = text && text->trimmed().isEmpty();
  if (text && !line.blank) line.object = objectOf(*text);
  return line;
}

std::optional<QJsonObject> JsonLinesReader::objectAt(qint64 offset) {
  if (!m_file.seek(offset)) return std::nullopt;
  const auto text = readLine();
  return text ? objectOf(*text) : std::nullopt;
}

textfile::WriteResult JsonLinesWriter::open(bool keep) {
  if (!keep) {
    if (!m_file.open(QIODevice::WriteOnly | QIODevice::Truncate)) return failed();
    return {};
  }
  if (!m_file.open(QIODevice::ReadWrite | QIODevice::Append)) return failed();
  // A killed writer may have left half a line: the next line starts afresh.
  const bool openLine = m_file.size() > 0 && m_file.seek(m_file.size() - 1) && m_file.read(1) != "\n";
  if (openLine && (m_file.write("\n") != 1 || !m_file.flush())) return failed();
  return {};
}

textfile::WriteResult JsonLinesWriter::write(const QJsonObject& o) {
  const QByteArray line = QJsonDocument(o).toJson(QJsonDocument::Compact) + '\n';
  if (m_file.write(line) != line.size() || !m_file.flush()) return failed();
  return {};
}

}  // namespace cli
