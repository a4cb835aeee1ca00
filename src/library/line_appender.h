#pragma once

#include <QFile>
#include <QSet>
#include <QString>

#include "base/text_file.h"

namespace library {

// Appends lines to a station file one at a time, each written whole and
// flushed at once, so a killed run leaves every line it reported and never
// half of one. The file is read once, at open(): a line it already holds is
// not written again, and new lines keep the file's encoding.
class LineAppender {
 public:
  explicit LineAppender(QString path);
  // Fails when the file cannot be read or opened for writing.
  textfile::WriteResult open();
  textfile::WriteResult append(const QString& line);
  const QString& path() const { return m_path; }

 private:
  textfile::WriteResult failed() const;

  QString m_path;
  QFile m_file;
  textfile::Encoding m_encoding = textfile::Encoding::Gbk;
  QSet<QString> m_lines;
};

}  // namespace library
