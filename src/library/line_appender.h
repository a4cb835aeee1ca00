#pragma once

#include <QFile>
#include <QString>

#include "base/text_file.h"
#include "playlists/key_set.h"

namespace library {

// Appends lines to a station file one at a time, each written whole and
// flushed at once, so a killed run leaves every line it reported and never
// half of one. Other processes may write the file meanwhile: each append
// holds the file's lock, reopens the file when another process has replaced
// it (a rename over it, or a delete) and first reads the lines another
// appended. A line whose stationLineKey the file holds is not written again,
// and new lines keep the file's encoding.
class LineAppender {
 public:
  explicit LineAppender(QString path);
  // Fails when the file cannot be read or opened for writing.
  textfile::WriteResult open();
  textfile::WriteResult append(const QString& line);
  const QString& path() const { return m_path; }
  // True when the file, as last read, holds the line's request.
  bool holds(const QString& line) const;

 private:
  textfile::WriteResult failed() const;
  // With the lock held: opens the file and reads it whole.
  textfile::WriteResult reopen();
  // With the lock held: follows what other processes did to the file.
  textfile::WriteResult catchUp();
  bool replaced() const;
  // Takes in the lines of bytes, which start at offset, and makes the file
  // end in one complete line.
  textfile::WriteResult takeIn(const QByteArray& bytes, qint64 offset);

  QString m_path;
  QFile m_file;
  textfile::Encoding m_encoding = textfile::Encoding::Gbk;
  playlists::KeySet m_keys;
  qint64 m_size = 0;  // the bytes of the file read or written so far
};

}  // namespace library
