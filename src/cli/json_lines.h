#pragma once

#include <QFile>
#include <QJsonObject>
#include <optional>

#include "base/text_file.h"

namespace cli {

// Reads a JSON-lines file one line at a time, so a file of any size costs
// one line of memory; a line longer than kMaxLineBytes is read no further.
class JsonLinesReader {
 public:
  struct Line {
    int number = 0;            // counted from 1
    qint64 offset = 0;         // where the line starts, for objectAt()
    bool blank = false;        // nothing but white space
    std::optional<QJsonObject> object;  // nothing: the line is no JSON object
  };

  explicit JsonLinesReader(const QString& path) : m_file(path) {}
  // False when the file cannot be read.
  bool open() { return m_file.open(QIODevice::ReadOnly); }
  // The next line, or nothing at the end of the file.
  std::optional<Line> next();
  // The object of the line that starts at offset.
  std::optional<QJsonObject> objectAt(qint64 offset);

  static constexpr qint64 kMaxLineBytes = 1 << 20;

 private:
  // The next line, or nothing when it is too long.
  std::optional<QByteArrayView> readLine();

  QFile m_file;
  QByteArray m_line;
  int m_number = 0;
};

// The first write of a command that failed: which file, and why.
struct FirstWriteFailure {
  QString path;
  QString error;
  // Passes the outcome of a write on, keeping the first failure.
  bool note(const QString& file, const textfile::WriteResult& written) {
    if (written) return true;
    if (error.isEmpty()) {
      path = file;
      error = written.error;
    }
    return false;
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
