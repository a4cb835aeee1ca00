#pragma once

#include <QFile>
#include <QJsonObject>
#include <QList>
#include <optional>

#include "base/text_file.h"

namespace cli {

// The objects of a JSON-lines file; a line that is no JSON object (the
// half line a killed writer may leave) is skipped. Nothing when the file
// cannot be read.
std::optional<QList<QJsonObject>> readJsonLines(const QString& path);

// The first write of a command that failed: which file, and why.
struct FirstWriteFailure {
  QString path;
  QString error;
  void note(const QString& file, const textfile::WriteResult& written) {
    if (written || !error.isEmpty()) return;
    path = file;
    error = written.error;
  }
  bool any() const { return !error.isEmpty(); }
};

// Writes one JSON object per line, each flushed as it is written.
class JsonLinesWriter {
 public:
  explicit JsonLinesWriter(const QString& path) : m_file(path) {}
  // keep: append to what the file holds (after ending an open last line).
  textfile::WriteResult open(bool keep);
  textfile::WriteResult write(const QJsonObject& o);

 private:
  textfile::WriteResult failed() const { return {m_file.errorString()}; }

  QFile m_file;
};

}  // namespace cli
