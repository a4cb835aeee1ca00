#include "cli/json_lines.h"

#include <QJsonDocument>

namespace cli {

std::optional<QList<QJsonObject>> readJsonLines(const QString& path) {
  QFile f(path);
  if (!f.open(QIODevice::ReadOnly)) return std::nullopt;
  QList<QJsonObject> objects;
  while (!f.atEnd()) {
    const QJsonDocument d = QJsonDocument::fromJson(f.readLine());
    if (d.isObject()) objects << d.object();
  }
  return objects;
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
