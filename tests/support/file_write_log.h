#pragma once

#include <QString>
#include <QStringList>

// Records which files of a folder get created or replaced, in the order the
// file system saw it. The kernel queues the events while the writes happen,
// so take() after the code under test returns sees them all.
class FileWriteLog {
 public:
  explicit FileWriteLog(const QString& folder);
  ~FileWriteLog();
  FileWriteLog(const FileWriteLog&) = delete;
  FileWriteLog& operator=(const FileWriteLog&) = delete;

  // Names written since the last call, in order, keeping only those in
  // names (all when names is empty).
  QStringList take(const QStringList& names = {});

 private:
  int m_fd = -1;
};
