#pragma once

#include <QString>
#include <memory>

class QLockFile;

namespace textfile {

// The lock beside a file ("name.lock") that a process holds while it reads
// and rewrites the file or appends to it, so that two processes of the
// program on one folder never write over each other's lines. Held for one
// write, never for a run. A lock whose process has ended, or that is older
// than kStaleMs, is taken over. Locks of one file nest within a thread: the
// outermost one holds the lock file.
class FileLock {
 public:
  explicit FileLock(const QString& path, int waitMs = kWaitMs);
  ~FileLock();
  FileLock(const FileLock&) = delete;
  FileLock& operator=(const FileLock&) = delete;

  // True when the lock is held; otherwise error() says why.
  explicit operator bool() const { return m_error.isEmpty(); }
  const QString& error() const { return m_error; }

  static constexpr int kStaleMs = 10000;
  static constexpr int kWaitMs = 15000;

 private:
  QString m_lockPath;
  std::unique_ptr<QLockFile> m_lock;
  QString m_error;
};

}  // namespace textfile
